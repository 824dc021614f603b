// nyluxora import-photometry FILE... [--kind K] [--maker M] [--model MODEL] [--name NAME]
//                                    [--replace]
//   Each IES LM-63 or EULUMDAT file becomes a luminaire of both catalogues (curve table, lamps,
//   coefficient table) and is kept beside the databases. Files are imported one by one; a file
//   that cannot be imported is named with the reason and leaves the catalogues as they were.
// nyluxora export-photometry MODEL --out FILE.ies
//   A catalogue luminaire as IES LM-63-2002: an imported one's whole grid, else its curve table.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/session.h"
#include "cli/subcommands.h"

namespace nycli {
namespace {

using ImportFn = int (*)(const char* path, const char* kind, const char* maker, const char* model,
                         const char* name, int replace, char* message, int size);
using ExportFn = int (*)(const char* model, const char* out, char* message, int size);

struct ImportOptions {
  std::vector<std::string> files;
  std::string kind = "通用", maker, model, name;
  bool replace = false;
};

const SubcommandRegistrar kImportPhotometry(
    "import-photometry", "Import photometric files (IES LM-63, EULUMDAT .ldt) into the catalogues",
    [](CLI::App& sub) -> SubcommandRun {
      auto o = std::make_shared<ImportOptions>();
      sub.add_option("files", o->files, "IES (.ies) or EULUMDAT (.ldt) files")->required();
      sub.add_option("--kind", o->kind, "Light-source kind (光源名称) of the luminaires")
          ->capture_default_str();
      sub.add_option("--maker", o->maker, "Manufacturer (生产厂家)");
      sub.add_option("--model", o->model,
                     "Luminaire model (灯具型号); default: the file's catalogue number");
      sub.add_option("--name", o->name,
                     "Luminaire name its lamps are remembered under; default: the kind");
      sub.add_flag("--replace", o->replace, "Replace a luminaire of that kind and model");
      return [o](SubcommandContext& ctx) {
        auto fn = reinterpret_cast<ImportFn>(
            ctx.session.ResolveModuleFunction("NyLuxoraImportPhotometry"));
        if (!fn) {
          std::cerr << "nyluxora: the loaded module cannot import photometric files\n";
          return kExitProblem;
        }
        if (!o->model.empty() && o->files.size() > 1) {
          std::cerr << "nyluxora: --model names one luminaire: give one file with it\n";
          return kExitUsage;
        }
        int status = kExitDone;
        bool exists = false;
        std::vector<char> message(16 * 1024);
        for (const auto& file : o->files) {
          int rc =
              fn(file.c_str(), o->kind.c_str(), o->maker.c_str(), o->model.c_str(), o->name.c_str(),
                 o->replace ? 1 : 0, message.data(), static_cast<int>(message.size()));
          if (rc == 0) {
            std::cout << message.data();
          } else {
            std::cerr << "nyluxora: " << message.data();
            status = kExitProblem;
            exists = exists || rc == 2;
          }
        }
        if (exists)
          std::cerr << "nyluxora: a luminaire already in the catalogue is replaced only with "
                       "--replace\n";
        return status;
      };
    });

const SubcommandRegistrar kExportPhotometry(
    "export-photometry", "Write a catalogue luminaire's photometry as IES LM-63-2002",
    [](CLI::App& sub) -> SubcommandRun {
      auto model = std::make_shared<std::string>();
      auto out = std::make_shared<std::string>();
      sub.add_option("model", *model, "Luminaire model (灯具型号) of the point-method catalogue")
          ->required();
      sub.add_option("--out", *out, "The .ies file to write")->required();
      return [model, out](SubcommandContext& ctx) {
        auto fn = reinterpret_cast<ExportFn>(
            ctx.session.ResolveModuleFunction("NyLuxoraExportPhotometry"));
        if (!fn) {
          std::cerr << "nyluxora: the loaded module cannot export photometry\n";
          return kExitProblem;
        }
        std::vector<char> message(4096);
        int rc = fn(model->c_str(), out->c_str(), message.data(), static_cast<int>(message.size()));
        (rc == 0 ? std::cout : std::cerr) << (rc == 0 ? "" : "nyluxora: ") << message.data();
        return rc == 0 ? kExitDone : kExitProblem;
      };
    });

}  // namespace
}  // namespace nycli
