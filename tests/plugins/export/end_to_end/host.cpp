#include "host.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace plugins::e2e {

Module::Module(const char* path) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}

Module::~Module() {
    if (handle_ != nullptr) {
        dlclose(handle_);
    }
}

void* Module::Symbol(const char* name) const {
    return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}

ClassDescription* Module::Descriptor() const {
    auto get = reinterpret_cast<LibClassDescriptionFunction>(Symbol("LibClassDescription"));
    return get != nullptr ? get(0) : nullptr;
}

NoInput::NoInput() : saved_(dup(STDIN_FILENO)) {
    const int null = open("/dev/null", O_RDONLY);
    dup2(null, STDIN_FILENO);
    close(null);
}

NoInput::~NoInput() {
    dup2(saved_, STDIN_FILENO);
    close(saved_);
}

CapturedStderr::CapturedStderr(const std::string& file) {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, STDERR_FILENO);
    close(fd);
}

CapturedStderr::~CapturedStderr() {
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
}

std::vector<MeshCopy> CopyMeshes(const ObjectList& list) {
    std::vector<MeshCopy> result;
    for (const ObjectListNode* node = list.head; node != nullptr; node = node->next) {
        if (node->object->type != kObjectTypeMesh) {
            continue;
        }
        const auto* mesh = static_cast<const Mesh3d*>(node->object);
        MeshCopy copy{mesh->name, {}};
        for (int i = 0; i < mesh->triangleCount; ++i) {
            const TriangleIndices& t = mesh->triangles[i];
            copy.triangles.push_back({mesh->points[t.k0], mesh->points[t.k1], mesh->points[t.k2]});
        }
        result.push_back(std::move(copy));
    }
    return result;
}

int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::string& out_file, const std::string& err_file) {
    std::string command = "'" + program + "'";
    for (const std::string& a : args) {
        command += " '" + a + "'";
    }
    command += " </dev/null >'" + out_file + "' 2>'" + err_file + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunMeshconv(const std::vector<std::string>& args, const std::string& err_file) {
    return RunProgram(MESHCONV_PROGRAM, args, "/dev/null", err_file);
}

int RunMeshconvIn(const std::string& dir, const std::vector<std::string>& args,
                  const std::string& err_file, bool at_terminal) {
    std::string command = "cd '" + dir + "' && '" + MESHCONV_PROGRAM + "'";
    for (const std::string& a : args) {
        command += " '" + a + "'";
    }
    command += " 2>'" + err_file + "'";
    if (at_terminal) {
        if (std::system("command -v script >/dev/null 2>&1") != 0) {
            return -1;
        }
        command = "script -qec \"" + command + "\" /dev/null";
    }
    command += " </dev/null >/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace plugins::e2e
