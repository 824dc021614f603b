#include "lumen/cu_lookup.h"

#include <cmath>
#include <cstdlib>

#include "base/module_state.h"
#include "host/host.h"
#include "refdata/statements.h"
#include "support/ny_access.h"

namespace {

void Warn(const std::string& text, nyhost::MbIcon icon = nyhost::MbIcon::kWarning) {
  nyhost::Host::Get().windows().MessageBox(kMessageCaption, text, icon, nyhost::MbButtons::kOk);
}

struct Bracket {
  int lo, hi;
};

Bracket CeilingBracket(int c, bool eighty) {
  if (eighty)
    return {c >= 80   ? 80
            : c >= 70 ? 70
            : c >= 50 ? 50
                      : 0,
            c > 70   ? 80
            : c > 50 ? 70
            : c > 0  ? 50
                     : 0};
  return {c >= 70   ? 70
          : c >= 50 ? 50
          : c >= 30 ? 30
                    : 0,
          c > 50   ? 70
          : c > 30 ? 50
          : c > 0  ? 30
                   : 0};
}

Bracket WallBracket(int w) {
  return {w >= 50 ? 50 : w >= 30 ? 30 : w >= 10 ? 10 : 0, w > 30 ? 50 : w > 10 ? 30 : 10};
}

// Linear step between two grid values; at (or just above) the lower value its entry, above the
// upper one (a ceiling above the series' top) the upper entry.
double Step(double x, int lo, int hi, double v_lo, double v_hi) {
  if (x - lo < 0.0001) return v_lo;
  if (x > hi) return v_hi;
  return v_lo + (v_hi - v_lo) * (x - lo) / (hi - lo);
}

// -2 marks a missing or duplicated entry.
double Entry(const CuTable& t, int c, int w, int rcr) {
  if (c == 0 || w == 0) c = w = 0;
  auto it = t.entries.find({c, w, rcr});
  if (it == t.entries.end() || it->second.size() != 1) return -2;
  return it->second.front();
}

}  // namespace

std::optional<CuLuminaire> FindCuLuminaire(NyAccess* db, const std::string& model,
                                           const std::string& lamp) {
  if (!db) return std::nullopt;
  NyStTable rows;
  db->GetSelData(rows, FormatSql(kSelectCuLuminaireRecord, model, lamp));
  std::vector<std::string> v;
  if (rows.GetTableLogicSize() != 1 || !rows.GetValueRecord(v, 0) || v.size() != 3) {
    Warn("<灯具型号>中有相同的型号和光源:" + model + " " + lamp + "!");
    return std::nullopt;
  }
  return CuLuminaire{std::atof(v[0].c_str()), v[1], v[2]};
}

std::optional<CuTable> LoadCuTable(NyAccess* db, const std::string& name) {
  if (!db || name.empty() || !db->IsTableInDatabase(name, "TABLE")) return std::nullopt;
  std::vector<std::string> ceilings;
  db->GetSelData(ceilings, FormatSql(kSelectCuCeilingValues, name));
  if (ceilings.empty()) {
    Warn("数据库有误!请检查" + name + "表的[有效顶棚反射比]!");
    return std::nullopt;
  }
  CuTable t;
  t.name = name;
  int top = 0;
  for (const auto& c : ceilings) top = std::max(top, std::atoi(c.c_str()));
  t.eighty_series = top > 75;
  NyStTable rows;
  db->GetSelData(rows, FormatSql(kSelectCuTableRows, name));
  std::vector<std::string> v;
  for (int i = 0; rows.GetValueRecord(v, i); ++i) {
    if (v.size() != 4) continue;
    t.entries[{std::atoi(v[0].c_str()), std::atoi(v[1].c_str()), std::atoi(v[2].c_str())}]
        .push_back(std::atof(v[3].c_str()));
  }
  return t;
}

double InterpolateCu(const CuTable& t, double ceiling, double wall, double rcr) {
  if (t.empty()) return -1;
  if (wall > 0.5) wall = 0.5;
  if (rcr > 10) rcr = 10;
  if (rcr < 1) rcr = 1;
  const double c = ceiling * 100, w = wall * 100;
  Bracket bc = CeilingBracket(static_cast<int>(c), t.eighty_series);
  Bracket bw = WallBracket(static_cast<int>(w));
  if (bw.lo == 0 || bc.lo == 0) bw.lo = bc.lo = 0;
  const int r_lo = static_cast<int>(rcr);
  int r_hi = std::min(r_lo + 1, 10);
  if (r_hi - r_lo == 2) r_hi = r_lo;
  double by_rcr[2];
  const int rcrs[2] = {r_hi, r_lo};
  for (int k = 0; k < 2; ++k) {
    const double uu = Entry(t, bc.hi, bw.hi, rcrs[k]), ul = Entry(t, bc.hi, bw.lo, rcrs[k]);
    const double lu = Entry(t, bc.lo, bw.hi, rcrs[k]), ll = Entry(t, bc.lo, bw.lo, rcrs[k]);
    if (uu < -1 || ul < -1 || lu < -1 || ll < -1) return -1;
    const double upper_c = Step(w, bw.lo, bw.hi, ul, uu);
    const double lower_c = Step(w, bw.lo, bw.hi, ll, lu);
    by_rcr[k] = Step(c, bc.lo, bc.hi, lower_c, upper_c);
  }
  return Step(rcr, r_lo, r_hi, by_rcr[1], by_rcr[0]);
}

double LookupUtilizationCoefficient(const CuTable& t, double ceiling, double wall, double rcr) {
  if (t.empty()) return -1;
  const double u = InterpolateCu(t, ceiling, wall, rcr);
  if (u == -1) Warn("利用系数没找到 或 存在多个利用系数!");
  return u;
}
