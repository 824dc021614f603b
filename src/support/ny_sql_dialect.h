// The statements of the reference databases are written for the Access engine of the Windows
// version. SQLite takes nearly all of them as they are; this step rewrites the rest.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Name of the collation that orders text by its code page 936 bytes (pinyin order for the
// common hanzi), as the Access engine did. NyAccess registers it on every connection.
inline constexpr const char* kGbkCollation = "GBK";

// A name as a bracketed identifier: "[" + name + "]" with every "]" of the name doubled, so no
// name can end the identifier early and reach another table. Every statement that puts a name
// between brackets builds it here.
std::string SqlBracket(std::string_view name);

// Rewrites one statement for SQLite:
//  - "DELETE * FROM" becomes "DELETE FROM";
//  - every ORDER BY and GROUP BY term gets "COLLATE GBK" (numbers still sort as numbers);
//  - a bracketed identifier holding a doubled "]" becomes a double-quoted one (SQLite's
//    brackets know no escape);
// text inside single quotes is never touched; everything else is left as it is.
std::string ToSqliteDialect(std::string_view access_sql);

// A printf-style statement whose "[%s]" placeholders take names: `format` has those brackets
// removed, and is_name[i] tells whether the i-th value is such a name (to pass through
// SqlBracket).
struct NamePlaceholders {
  std::string format;
  std::vector<bool> is_name;
};
NamePlaceholders FindNamePlaceholders(std::string_view statement);

// "select * into [new] from [template]" (any letter case, brackets optional): the two table
// names. SQLite has no SELECT INTO; NyAccess copies the template table instead.
struct SelectInto {
  std::string new_table;
  std::string template_table;
};
std::optional<SelectInto> ParseSelectInto(std::string_view access_sql);

// Byte-wise comparison of the code page 936 encodings of two UTF-8 texts (the collation).
int CompareGbk(std::string_view a, std::string_view b);
