#pragma once
// The command line's transfers: the same rules as the window, one summary
// line on success, one clear line and a non-zero exit status on failure.

#include <cstdio>

#include "vanconv/CommandLine.h"
#include "vanconv/MainProgram.h"

namespace vanconv {

class BatchConvert {
public:
    BatchConvert(MainProgram& program, std::FILE* out, std::FILE* err)
        : program_(program), out_(out), err_(err) {}

    // Exit status: 0 done, 1 failed.
    int Run(const CommandLine& cl);

private:
    int Export(const CommandLine& cl, const VanteloInstall& install);
    int Import(const CommandLine& cl, const VanteloInstall& install);
    int Fail(const std::string& message);

    MainProgram& program_;
    std::FILE* out_;
    std::FILE* err_;
};

}  // namespace vanconv
