// icon INPUT OUTPUT: the conversion a site icon goes through before it reaches its tab, for
// engine authors who want to see what their site's icon will look like.
#include <fstream>
#include <iostream>
#include <iterator>

#include "command.h"
#include "icons/bmp_conversion.h"
#include "icons/picture.h"

namespace ondrel::cli {
namespace {

constexpr int tabIconSide = 16;

bool readWholeFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out.flush());
}

int runIcon(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    if (!args.empty() && args[0] == "--") args.erase(args.begin());
    if (args.size() != 2) {
        std::cerr << "usage: ondrel-cli icon INPUT OUTPUT\n";
        return exitUsage;
    }
    const std::string& input = args[0];
    const std::string& output = args[1];
    std::string data;
    if (!readWholeFile(input, data)) {
        std::cerr << "ondrel-cli icon: cannot read " << input << "\n";
        return exitFailed;
    }
    if (!writeWholeFile(output, convertImageToBmp(data, tabIconSide, tabIconSide))) {
        std::cerr << "ondrel-cli icon: cannot write " << output << "\n";
        return exitFailed;
    }
    // The program shows such an answer as a blank icon; say so rather than pass it off as done.
    if (!decodePicture(data)) {
        std::cerr << "ondrel-cli icon: " << input << " is not a picture the decoder reads (ICO, CUR, BMP, GIF, JPEG, PNG, PCX); "
                  << output << " holds the 1 x 1 black image\n";
        return exitFailed;
    }
    return exitDone;
}

const bool registered = registerCommand(
    {"icon", "INPUT OUTPUT", "picture data to the 16 x 16, 24-bit BMP file image a tab icon is made from", runIcon});

}  // namespace
}  // namespace ondrel::cli
