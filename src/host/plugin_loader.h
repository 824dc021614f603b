// Loads a module shared library the way a CAD program loads its plug-ins: dlopen, ExModuleLoad,
// command entries resolved by exported name, ExModuleUnload before dlclose.
#pragma once

#include <string>

namespace nyhost {

class Host;

class PluginLoader {
 public:
  explicit PluginLoader(Host& host) : host_(host) {}
  ~PluginLoader() { Unload(); }
  PluginLoader(const PluginLoader&) = delete;
  PluginLoader& operator=(const PluginLoader&) = delete;

  // False with error() set when the file cannot be loaded or lacks ExModuleLoad.
  bool Load(const std::string& path);
  void Unload();
  bool loaded() const { return handle_ != nullptr; }
  const std::string& error() const { return error_; }
  const std::string& path() const { return path_; }
  // An exported function of the loaded module, or null.
  void* Resolve(const std::string& name) const;

 private:
  Host& host_;
  void* handle_ = nullptr;
  std::string path_;
  std::string error_;
};

}  // namespace nyhost
