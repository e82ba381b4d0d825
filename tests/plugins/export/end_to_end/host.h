// A minimal converter host for the tests: loads a module with dlopen and
// creates its plug-in object, and runs meshconv.
#pragma once

#include <string>
#include <vector>

#include "framework/contract.h"
#include "support/temp_dir.h"

namespace plugins::e2e {

class Module {
  public:
    explicit Module(const char* path);
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    bool Loaded() const { return handle_ != nullptr; }
    // The export of that name, or null.
    void* Symbol(const char* name) const;
    ClassDescription* Descriptor() const;

  private:
    void* handle_;
};

// Standard input from /dev/null while the object lives, so the plug-ins'
// file dialogs take their stored names as a script's would, whoever runs
// the tests.
class NoInput {
  public:
    NoInput();
    ~NoInput();
    NoInput(const NoInput&) = delete;
    NoInput& operator=(const NoInput&) = delete;

  private:
    int saved_;
};

// Standard error into a file while the object lives.
class CapturedStderr {
  public:
    explicit CapturedStderr(const std::string& file);
    ~CapturedStderr();
    CapturedStderr(const CapturedStderr&) = delete;
    CapturedStderr& operator=(const CapturedStderr&) = delete;

  private:
    int saved_;
};

// A mesh copied out of its compact form: each triangle as its three points.
struct MeshCopy {
    std::string name;
    std::vector<Triangle3d> triangles;
};
std::vector<MeshCopy> CopyMeshes(const ObjectList& list);

// Runs program with the arguments (each quoted for the shell), standard
// input from /dev/null, standard output into out_file and standard error
// into err_file. Returns the exit code.
int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::string& out_file, const std::string& err_file);

// RunProgram of meshconv, its output dropped.
int RunMeshconv(const std::vector<std::string>& args, const std::string& err_file);

// As RunMeshconv, but in the working directory dir and, with at_terminal,
// with standard input a terminal whose input ends at once (through
// script(1)), as when a person answers a prompt with Ctrl-D. Returns -1 when
// no terminal can be had.
int RunMeshconvIn(const std::string& dir, const std::vector<std::string>& args,
                  const std::string& err_file, bool at_terminal);

}  // namespace plugins::e2e
