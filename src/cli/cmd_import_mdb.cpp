// nyluxora import-mdb FOLDER: converts the Access reference databases of an older installation
// (NyData.mdb, ZirIrodoDot.mdb, plane.mdb in FOLDER) into the data folder.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/session.h"
#include "cli/subcommands.h"

namespace nycli {
namespace {

using ImportFn = int (*)(const char* folder, char* message, int size);

const SubcommandRegistrar kImportMdb(
    "import-mdb", "Import the Access reference databases (.mdb) found in a folder",
    [](CLI::App& sub) -> SubcommandRun {
      auto folder = std::make_shared<std::string>();
      sub.add_option("folder", *folder, "Folder holding NyData.mdb, ZirIrodoDot.mdb, plane.mdb")
          ->required();
      return [folder](SubcommandContext& ctx) {
        auto fn =
            reinterpret_cast<ImportFn>(ctx.session.ResolveModuleFunction("NyLuxoraImportMdb"));
        if (!fn) {
          std::cerr << "nyluxora: the loaded module cannot import databases\n";
          return kExitProblem;
        }
        std::vector<char> message(64 * 1024);
        int rc = fn(folder->c_str(), message.data(), static_cast<int>(message.size()));
        (rc == 0 ? std::cout : std::cerr) << message.data();
        // 2: the folder is missing or holds none of the databases.
        return rc == 0 ? kExitDone : rc == 2 ? kExitUsage : kExitProblem;
      };
    });

}  // namespace
}  // namespace nycli
