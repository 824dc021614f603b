#include "host/plugin_loader.h"

#include <dlfcn.h>

#include "host/host.h"

namespace nyhost {

namespace {
using ModuleFn = void (*)();
}

bool PluginLoader::Load(const std::string& path) {
  Unload();
  error_.clear();
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* e = dlerror();
    error_ = e ? e : ("cannot load " + path);
    return false;
  }
  auto load = reinterpret_cast<ModuleFn>(dlsym(handle_, "ExModuleLoad"));
  if (!load || !dlsym(handle_, "ExModuleUnload")) {
    error_ = path + ": not a module (ExModuleLoad/ExModuleUnload missing)";
    dlclose(handle_);
    handle_ = nullptr;
    return false;
  }
  path_ = path;
  void* handle = handle_;
  host_.SetEntryResolver([handle](const std::string& name) {
    return reinterpret_cast<CommandEntry>(dlsym(handle, name.c_str()));
  });
  load();
  return true;
}

void* PluginLoader::Resolve(const std::string& name) const {
  return handle_ ? dlsym(handle_, name.c_str()) : nullptr;
}

void PluginLoader::Unload() {
  if (!handle_) return;
  if (auto unload = reinterpret_cast<ModuleFn>(dlsym(handle_, "ExModuleUnload"))) unload();
  // Dialogs the module destroyed must not outlive its code.
  host_.windows().Collect();
  dlclose(handle_);
  handle_ = nullptr;
  host_.SetEntryResolver(nullptr);
}

}  // namespace nyhost
