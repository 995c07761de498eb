#pragma once
// The program's version, as the build names it (the project's version).
namespace restash {

const char* ProgramVersion();

}  // namespace restash
