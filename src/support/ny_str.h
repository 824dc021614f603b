// Text functions of the support library.
#pragma once

#include <string>
#include <vector>

class NyStr {
 public:
  // Nonzero, with the value, when the whole text (blanks around it allowed) is a number.
  // Infinity, NaN and numbers beyond a double are not numbers.
  static int IsDigit(double& value, const std::string& text);
  // C atof: the leading number of the text, 0 without one; also 0 for a value that is not finite.
  static double LeadingReal(const std::string& text);
  // C atoi: the leading whole number, 0 without one; held to the int range instead of overflowing.
  static int LeadingInt(const std::string& text);
  // Removes later duplicates, keeping first occurrences in order. flag != 0: ignore ASCII case.
  static void RemoveSameStr(std::vector<std::string>& items, int flag);
  static void SplitStrBySymbol(std::vector<std::string>& out, const std::string& text,
                               const std::string& separator);
  // flag != 0: ignore ASCII case.
  static bool FindStrInStrArr(const std::vector<std::string>& items, const std::string& text,
                              int flag);
  // Nonzero when the text names an existing folder or a file whose folder exists.
  static int IsPath(const std::string& text);
  static int IfHasChinese(const std::string& text);
};
