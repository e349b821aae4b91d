// ondrel-testsite: the local web site of the tests, the benchmarks and the demo.
#include <iostream>

int main() {
    std::cerr << "ondrel-testsite: no routes yet\n";
    return 1;
}
