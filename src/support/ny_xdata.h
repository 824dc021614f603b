// Keyed texts on drawing entities, kept as extended data of one registered application: one
// 1000 string "key=value" per key.
#pragma once

#include <string>

#include "host/entity.h"

namespace nyhost {
class Drawing;
}

class NyXData {
 public:
  static constexpr const char* kAppName = "NYLUXORA";

  // The text stored under key, empty when absent.
  static bool GetEntXData(std::string& out, const nyhost::Entity& entity, const std::string& key);
  static bool GetEntXData(std::string& out, nyhost::EntityId id, const std::string& key);
  // Stores text under key on the entity of the current drawing (replacing an older value).
  static bool SetEntXData(nyhost::EntityId id, const std::string& key, const std::string& text);
  // The same on an entity value, for code that builds entities before adding them.
  static void SetEntXData(nyhost::Entity& entity, const std::string& key, const std::string& text);
};
