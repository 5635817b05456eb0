// tarn-cli: TARN's core without a window. It never waits for input: messages go
// to stderr, questions take documented default answers, failures exit non-zero.
#include <iostream>

#include "cli_commands.h"

int main(int argc, char** argv) {
    return tarn::cli::run(tarn::cli::Args(argv + 1, argv + argc), std::cout, std::cerr);
}
