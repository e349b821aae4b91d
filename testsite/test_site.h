#pragma once
// The local web site of the tests, the benchmarks and the demo, served on 127.0.0.1.
namespace ondrel::testsite {}
