// Host services the module uses from its dialogs and commands.
#pragma once

#include <string>
#include <vector>

#include "host/entity.h"
#include "host/ports.h"

class NyGlb {
 public:
  // The text reaches the host's command line as if typed; a trailing blank ends the command.
  static void SendCommandToZwCad(const std::string& text, int flag = 1);
  static void CancelLastZwCadCommand();
  // Interactive selection; nonzero when something was selected.
  static int SelectObjects(std::vector<nyhost::EntityId>& ids, const std::string& prompt,
                           const nyhost::EntityFilter& filter = {});
  // Opens a file with the desktop's opener for its type; where there is none (a script, a
  // terminal) the path is printed on the command line instead.
  static void OpenDocument(const std::string& path);
  // Framework text and host text are both UTF-8 here.
  static std::string TransToOdStr(const std::string& s) { return s; }
  static std::string TransToCStr(const std::string& s) { return s; }
};
