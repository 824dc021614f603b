// Properties of the reference databases as built into the share folder.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#ifndef NYLUXORA_TEST_SHARE_DIR
#error "NYLUXORA_TEST_SHARE_DIR must name the built share folder"
#endif

namespace {

struct Value {
  bool null = true;
  std::string text;
  double number = 0.0;
};
using Row = std::vector<Value>;

class Db {
 public:
  explicit Db(const std::string& file) {
    const std::string path = std::string(NYLUXORA_TEST_SHARE_DIR) + "/data/" + file;
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << "cannot open " << path;
      sqlite3_close(db_);
      db_ = nullptr;
    }
  }
  ~Db() { sqlite3_close(db_); }
  Db(const Db&) = delete;
  Db& operator=(const Db&) = delete;

  bool ok() const { return db_ != nullptr; }

  std::vector<Row> Query(const std::string& sql, const std::vector<std::string>& params = {}) {
    std::vector<Row> rows;
    if (!db_) return rows;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
      return rows;
    }
    for (size_t i = 0; i < params.size(); ++i) {
      sqlite3_bind_text(stmt, static_cast<int>(i + 1), params[i].c_str(), -1, SQLITE_TRANSIENT);
    }
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      Row row;
      for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
        Value v;
        v.null = sqlite3_column_type(stmt, c) == SQLITE_NULL;
        if (!v.null) {
          v.text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
          v.number = sqlite3_column_double(stmt, c);
        }
        row.push_back(std::move(v));
      }
      rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    return rows;
  }

  bool HasTable(const std::string& name) {
    return !Query("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?", {name}).empty();
  }

  std::string TableSql(const std::string& name) {
    const auto rows = Query("SELECT sql FROM sqlite_master WHERE type='table' AND name=?", {name});
    return rows.empty() ? std::string() : rows[0][0].text;
  }

 private:
  sqlite3* db_ = nullptr;
};

// Non-null values of a Guth row or column must fall to one minimum and then never fall again.
bool FallsThenRises(const std::vector<double>& values) {
  size_t i = 1;
  while (i < values.size() && values[i] <= values[i - 1]) ++i;
  for (; i < values.size(); ++i) {
    if (values[i] < values[i - 1]) return false;
  }
  return true;
}

}  // namespace

TEST(ShippedPointDb, EveryCatalogueCurveHas19RowsAtFiveDegreeSteps) {
  Db db("ZirIrodoDot.mdb");
  ASSERT_TRUE(db.ok());
  const auto catalogue =
      db.Query("SELECT [光源名称],[灯具型号],[生产厂家],[配光曲线表] FROM [灯具型号]");
  ASSERT_GE(catalogue.size(), 5u);
  std::set<std::string> models;
  for (const auto& luminaire : catalogue) {
    const std::string table = luminaire[3].text;
    EXPECT_TRUE(models.insert(luminaire[1].text).second)
        << "model " << luminaire[1].text << " twice: drawings find curves by model alone";
    ASSERT_TRUE(db.HasTable(table)) << table;
    const auto rows =
        db.Query("SELECT [角度],[光强A],[光强B] FROM [" + table + "] ORDER BY [角度]");
    ASSERT_EQ(rows.size(), 19u) << table;
    for (int i = 0; i < 19; ++i) {
      EXPECT_EQ(rows[i][0].text, std::to_string(5 * i)) << table;
      EXPECT_GE(rows[i][1].number, 0.0) << table;
      EXPECT_GE(rows[i][2].number, 0.0) << table;
    }
    EXPECT_GT(rows[0][1].number, 0.0) << table << " must emit downwards";
  }
}

TEST(ShippedPointDb, RememberedLampsOfTheExamplePlanMatchTheCatalogues) {
  Db point("ZirIrodoDot.mdb");
  Db lumen("NyData.mdb");
  ASSERT_TRUE(point.ok());
  ASSERT_TRUE(lumen.ok());
  const std::vector<std::string> names = {"格栅荧光灯", "筒灯", "LED平板灯"};
  const std::vector<std::string> models = {"YG701-3", "TD-150", "LED-P600"};
  for (size_t i = 0; i < names.size(); ++i) {
    const auto rows = point.Query(
        "SELECT [配光曲线表],[光源名称],[光源型号],[功率],[数量],[光源名称1],[数量1],[光通量] "
        "FROM [默认光源] WHERE [灯具名称]=? AND [灯具型号]=?",
        {names[i], models[i]});
    ASSERT_EQ(rows.size(), 1u) << names[i];
    const Row& r = rows[0];
    const auto catalogue =
        point.Query("SELECT [配光曲线表] FROM [灯具型号] WHERE [灯具型号]=?", {models[i]});
    ASSERT_EQ(catalogue.size(), 1u) << models[i];
    EXPECT_EQ(r[0].text, catalogue[0][0].text) << "remembered curve is the catalogue's";
    // The remembered total flux is lamp flux times lamp count, as the light-source table gives.
    const auto lamp =
        lumen.Query("SELECT [光通量] FROM [光源] WHERE [光源名称]=? AND [光源型号]=? AND [功率]=?",
                    {r[1].text, r[2].text, r[3].text});
    ASSERT_EQ(lamp.size(), 1u) << r[1].text << " " << r[2].text << " " << r[3].text;
    EXPECT_EQ(r[7].number, lamp[0][0].number * r[4].number) << names[i];
    EXPECT_EQ(r[5].text, "");
    EXPECT_EQ(r[6].number, 0.0);
  }
}

TEST(ShippedPointDb, SubstituteCurveRowHoldsOnlyTheCurve) {
  Db db("ZirIrodoDot.mdb");
  ASSERT_TRUE(db.ok());
  EXPECT_TRUE(db.Query("SELECT 1 FROM [灯具型号] WHERE [灯具型号]='BD-01'").empty());
  const auto rows =
      db.Query("SELECT * FROM [默认光源] WHERE [灯具名称]='壁灯' AND [灯具型号]='BD-01'");
  ASSERT_EQ(rows.size(), 1u);
  const auto curve = db.Query("SELECT [配光曲线表] FROM [默认光源] WHERE [灯具型号]='BD-01'");
  EXPECT_TRUE(db.HasTable(curve[0][0].text));
  int filled = 0;
  for (const Value& v : rows[0]) filled += v.null ? 0 : 1;
  EXPECT_EQ(filled, 3) << "only name, model and curve";
}

TEST(ShippedPointDb, GuthTableIsLaidOutByHeightRatioRows) {
  Db db("ZirIrodoDot.mdb");
  ASSERT_TRUE(db.ok());
  std::string columns = "[H_R]";
  for (int t = 0; t < 20; ++t) columns += ",[" + std::to_string(t) + "]";
  const auto rows = db.Query("SELECT " + columns + " FROM [古斯位置指数] ORDER BY [H_R]");
  ASSERT_EQ(rows.size(), 31u);
  for (int h = 0; h <= 30; ++h) {
    ASSERT_EQ(rows[h][0].text, std::to_string(h));
    for (int t = 0; t < 20; ++t) {
      if (h >= 20) {
        EXPECT_TRUE(rows[h][t + 1].null) << "H_R " << h;
      }
    }
  }
  // Transposed from the printed table: T/R 0.1, H/R 0.6 is 3.40; T/R 0.6, H/R 0.1 is 1.72.
  EXPECT_DOUBLE_EQ(rows[6][1 + 1].number, 3.40);
  EXPECT_DOUBLE_EQ(rows[1][6 + 1].number, 1.72);
  // Void cells lie at large H/R and small T/R.
  EXPECT_TRUE(rows[18][0 + 1].null);
  EXPECT_FALSE(rows[18][4 + 1].null);
  EXPECT_TRUE(rows[19][8 + 1].null);
  EXPECT_FALSE(rows[19][9 + 1].null);

  for (int t = 0; t < 20; ++t) {
    std::vector<double> along_h;
    for (int h = 0; h < 20; ++h) {
      if (!rows[h][t + 1].null) along_h.push_back(rows[h][t + 1].number);
    }
    EXPECT_GE(along_h.size(), 18u);
    EXPECT_TRUE(std::is_sorted(along_h.begin(), along_h.end())) << "T/R column " << t;
  }
  for (int h = 0; h < 20; ++h) {
    std::vector<double> along_t;
    for (int t = 0; t < 20; ++t) {
      if (!rows[h][t + 1].null) along_t.push_back(rows[h][t + 1].number);
    }
    EXPECT_FALSE(along_t.empty());
    EXPECT_TRUE(FallsThenRises(along_t)) << "H_R row " << h;
  }
}

TEST(ShippedLumenDb, EveryCoefficientTableHasTheHundredRowsOfItsSeries) {
  Db db("NyData.mdb");
  ASSERT_TRUE(db.ok());
  const auto catalogue =
      db.Query("SELECT [灯具型号],[名称],[距高比],[位图],[利用系数表] FROM [灯具型号]");
  ASSERT_GE(catalogue.size(), 5u);
  std::set<int> series_seen;
  for (const auto& luminaire : catalogue) {
    const std::string table = luminaire[4].text;
    const std::string names = luminaire[1].text;
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.back(), '^') << "designations of " << luminaire[0].text;
    EXPECT_GT(luminaire[2].number, 0.0);
    EXPECT_FALSE(luminaire[3].text.empty());
    ASSERT_TRUE(db.HasTable(table)) << table;
    const auto rows =
        db.Query("SELECT [有效顶棚反射比],[墙反射比],[室空间比],[利用系数] FROM [" + table + "]");
    ASSERT_EQ(rows.size(), 100u) << table;
    double top = 0;
    std::map<std::tuple<int, int, int>, double> grid;
    for (const auto& r : rows) {
      top = std::max(top, r[0].number);
      const auto key = std::make_tuple(static_cast<int>(r[0].number), static_cast<int>(r[1].number),
                                       static_cast<int>(r[2].number));
      EXPECT_TRUE(grid.emplace(key, r[3].number).second) << table << ": duplicate row";
      EXPECT_GT(r[3].number, 0.0) << table;
      EXPECT_LT(r[3].number, 1.0) << table;
    }
    const int series = top > 75 ? 80 : 70;
    series_seen.insert(series);
    const int ceilings[2][4] = {{70, 50, 30, 0}, {80, 70, 50, 0}};
    const auto& c = ceilings[series == 80 ? 1 : 0];
    for (int rcr = 1; rcr <= 10; ++rcr) {
      ASSERT_TRUE(grid.count({0, 0, rcr})) << table << " RCR " << rcr;
      const double black = grid.at({0, 0, rcr});
      for (int i = 0; i < 3; ++i) {
        for (const int wall : {50, 30, 10}) {
          ASSERT_TRUE(grid.count({c[i], wall, rcr})) << table;
          const double v = grid.at({c[i], wall, rcr});
          // Two decimals: the stored values may tie but never reverse.
          EXPECT_GE(v, black) << table;
          if (rcr > 1) {
            EXPECT_LE(v, grid.at({c[i], wall, rcr - 1})) << table;
          }
          if (wall < 50) {
            EXPECT_LE(v, grid.at({c[i], wall + 20, rcr})) << table;
          }
          if (i > 0) {
            EXPECT_LE(v, grid.at({c[i - 1], wall, rcr})) << table;
          }
        }
      }
    }
  }
  EXPECT_EQ(series_seen, (std::set<int>{70, 80})) << "both series must be shipped";
}

TEST(ShippedLumenDb, StandardsCategoriesHaveTablesAndOfficeValues) {
  Db db("NyData.mdb");
  ASSERT_TRUE(db.ok());
  const auto categories = db.Query("SELECT [场所] FROM [照度标准] ORDER BY ID");
  ASSERT_GE(categories.size(), 8u);
  EXPECT_EQ(categories.front()[0].text, "居住建筑");
  // Categories are copied from the template with their ID column, so it must keep its
  // autoincrementing key.
  EXPECT_NE(db.TableSql("照度标准模板").find("ID INTEGER PRIMARY KEY AUTOINCREMENT"),
            std::string::npos);
  for (const auto& category : categories) {
    const std::string table = category[0].text;
    ASSERT_TRUE(db.HasTable(table)) << table;
    EXPECT_NE(db.TableSql(table).find("ID INTEGER PRIMARY KEY AUTOINCREMENT"), std::string::npos)
        << table;
    EXPECT_FALSE(db.Query("SELECT [场所名称] FROM [" + table + "] ORDER BY ID ").empty()) << table;
  }
  const auto office = db.Query(
      "SELECT [照度],[现行功率密度],[目标功率密度],[统一眩光],[显色指数] FROM [办公建筑] "
      "WHERE [场所名称] = '普通办公室'");
  ASSERT_EQ(office.size(), 1u);
  EXPECT_EQ(office[0][0].number, 300);
  EXPECT_EQ(office[0][1].number, 11);
  EXPECT_EQ(office[0][2].number, 9);
  EXPECT_EQ(office[0][3].number, 19);
  EXPECT_EQ(office[0][4].number, 80);
}

// Each material's count of colours is pinned by the statement catalogue's test; here every row.
TEST(ShippedLumenDb, ReflectancesAndLightSourcesAreWellFormed) {
  Db db("NyData.mdb");
  ASSERT_TRUE(db.ok());
  // Reflectances lie strictly between 0 and 1, and a material either has no colour variants (one
  // row "无") or only named colours.
  EXPECT_TRUE(db.Query("SELECT 1 FROM [物体反射率] WHERE [反射率] <= 0 OR [反射率] >= 1").empty());
  EXPECT_TRUE(db.Query("SELECT [物体] FROM [物体反射率] GROUP BY [物体] "
                       "HAVING sum([颜色] = '无') > 0 AND count(*) > 1")
                  .empty());
  // Every kind offers a choice of lamps, with and without a manufacturer; key: kind+model+power.
  EXPECT_EQ(db.Query("SELECT 1 FROM [光源] GROUP BY [光源名称] HAVING count(*) >= 2").size(), 7u);
  EXPECT_FALSE(db.Query("SELECT 1 FROM [光源] WHERE [生产厂家] <> ''").empty());
  EXPECT_FALSE(db.Query("SELECT 1 FROM [光源] WHERE [生产厂家] = ''").empty());
  EXPECT_TRUE(db.Query("SELECT 1 FROM [光源] GROUP BY [光源名称],[光源型号],[功率] "
                       "HAVING count(*) > 1")
                  .empty());
}

TEST(ShippedPlaneDb, DeviceKindsMarkTheExampleLuminaires) {
  Db db("plane.mdb");
  ASSERT_TRUE(db.ok());
  const auto rows = db.Query("select [种类], [类型] FROM [平面设备表]");
  std::map<std::string, std::string> first_kind;
  std::map<std::string, int> seen;
  for (const auto& r : rows) {
    ASSERT_EQ(r.size(), 2u);
    ++seen[r[1].text];
    first_kind.emplace(r[1].text, r[0].text);
  }
  for (const std::string key : {"ZM1A", "ZM2", "ZM3B", "ZM4", "ZM5"}) {
    EXPECT_EQ(first_kind[key], "灯具") << key;
  }
  EXPECT_EQ(seen["ZM5"], 2);
}
