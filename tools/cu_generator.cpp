// cu_generator: writes the 100-row utilization-coefficient table of a luminaire from its
// distribution curve (zonal-cavity method, see tools/README.md).
//
// One table to standard output:
//   cu_generator --curve "300 298 ... 0" [--curve-b "..."] [--lor R] [--ulor U]
//                [--series 70|80] [--table NAME] [--create]
//   cu_generator --db ZirIrodoDot.mdb --curve-table NAME [options as above]
// Many tables from the curve tables of a point-method database, as one SQL file:
//   cu_generator --db ZirIrodoDot.mdb --job CURVE_TABLE:CU_TABLE:SERIES[:ULOR] ...
//                (--output FILE | --check FILE)
#include <sqlite3.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "refdata/cu_method.h"

namespace {

using nyluxora::cu::Curve;
using nyluxora::cu::kCurvePoints;
using nyluxora::cu::Series;

struct Job {
  std::string curve_table;
  std::string cu_table;
  Series series = Series::k70;
  double upward_lor = 0.0;
};

// Table names go into statements between brackets and single quotes.
bool ValidTableName(const std::string& name) {
  return !name.empty() && name.find_first_of("[]'") == std::string::npos;
}

std::optional<std::array<double, kCurvePoints>> ParseValues(std::string text, std::string& error) {
  for (char& c : text) {
    if (c == ',' || c == ';' || c == '\t' || c == '\n') c = ' ';
  }
  std::istringstream in(text);
  std::vector<double> values;
  std::string token;
  while (in >> token) {
    try {
      size_t used = 0;
      const double v = std::stod(token, &used);
      if (used != token.size() || v < 0.0) throw std::invalid_argument(token);
      values.push_back(v);
    } catch (const std::exception&) {
      error = "not a non-negative number: \"" + token + "\"";
      return std::nullopt;
    }
  }
  if (values.size() != kCurvePoints) {
    error = "a curve needs 19 values (0 to 90 degrees in steps of 5), got " +
            std::to_string(values.size());
    return std::nullopt;
  }
  std::array<double, kCurvePoints> result{};
  std::copy(values.begin(), values.end(), result.begin());
  return result;
}

std::optional<Series> ParseSeries(const std::string& text) {
  if (text == "70") return Series::k70;
  if (text == "80") return Series::k80;
  return std::nullopt;
}

class Database {
 public:
  explicit Database(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      error_ = "cannot open " + path + ": " + (db_ ? sqlite3_errmsg(db_) : "out of memory");
    }
  }
  ~Database() { sqlite3_close(db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  const std::string& error() const { return error_; }

  // A curve table must hold exactly the angles 0, 5, ... 90.
  std::optional<Curve> ReadCurve(const std::string& table, std::string& error) {
    if (!ValidTableName(table)) {
      error = "invalid curve table name \"" + table + "\"";
      return std::nullopt;
    }
    const std::string sql = "SELECT [角度],[光强A],[光强B] FROM [" + table + "] ORDER BY [角度]";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      error = "curve table \"" + table + "\": " + sqlite3_errmsg(db_);
      sqlite3_finalize(stmt);
      return std::nullopt;
    }
    Curve curve;
    int row = 0;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      if (row >= kCurvePoints || sqlite3_column_int(stmt, 0) != 5 * row) {
        error = "curve table \"" + table + "\" must hold the angles 0, 5, ... 90 once each";
        sqlite3_finalize(stmt);
        return std::nullopt;
      }
      curve.plane_a[row] = sqlite3_column_double(stmt, 1);
      curve.plane_b[row] = sqlite3_column_double(stmt, 2);
      ++row;
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
      error = "curve table \"" + table + "\": " + sqlite3_errmsg(db_);
      return std::nullopt;
    }
    if (row != kCurvePoints) {
      error = "curve table \"" + table + "\" has " + std::to_string(row) + " rows, not 19";
      return std::nullopt;
    }
    return curve;
  }

 private:
  sqlite3* db_ = nullptr;
  std::string error_;
};

std::optional<Job> ParseJob(const std::string& text, std::string& error) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, ':')) parts.push_back(part);
  if (parts.size() != 3 && parts.size() != 4) {
    error = "job \"" + text + "\" is not CURVE_TABLE:CU_TABLE:SERIES[:ULOR]";
    return std::nullopt;
  }
  Job job;
  job.curve_table = parts[0];
  job.cu_table = parts[1];
  const auto series = ParseSeries(parts[2]);
  if (!series) {
    error = "job \"" + text + "\": series must be 70 or 80";
    return std::nullopt;
  }
  job.series = *series;
  if (parts.size() == 4) {
    try {
      job.upward_lor = std::stod(parts[3]);
    } catch (const std::exception&) {
      job.upward_lor = -1.0;
    }
    if (job.upward_lor < 0.0 || job.upward_lor >= 1.0) {
      error = "job \"" + text + "\": upward light output ratio must be in [0, 1)";
      return std::nullopt;
    }
  }
  if (!ValidTableName(job.cu_table)) {
    error = "job \"" + text + "\": invalid coefficient table name";
    return std::nullopt;
  }
  return job;
}

// A luminaire cannot emit more than its lamps.
bool PlausibleOutput(const Curve& curve, double upward_lor) {
  return nyluxora::cu::DownwardLor(curve) > 0.0 &&
         nyluxora::cu::DownwardLor(curve) + upward_lor <= 1.0;
}

std::string TableSql(const Job& job, const Curve& curve) {
  namespace cu = nyluxora::cu;
  char line[512];
  std::snprintf(line, sizeof line,
                "-- %s: from curve table %s; downward LOR %.3f, upward LOR %.3f, %s-series\n",
                job.cu_table.c_str(), job.curve_table.c_str(), cu::DownwardLor(curve),
                job.upward_lor, job.series == Series::k80 ? "80" : "70");
  std::string sql = line;
  sql += cu::CreateTableSql(job.cu_table);
  sql += cu::InsertRowsSql(job.cu_table, cu::CuTable(curve, job.upward_lor, job.series));
  return sql;
}

bool WriteAtomically(const std::string& path, const std::string& text) {
  const std::string temp = path + ".tmp." + std::to_string(getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) {
      std::filesystem::remove(temp);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) std::filesystem::remove(temp);
  return !ec;
}

int RunBatch(Database& db, const std::vector<std::string>& job_texts, const std::string& output,
             const std::string& check) {
  std::string sql =
      "-- Utilization-coefficient tables of the lumen-method catalogue.\n"
      "-- Generated by cu_generator from the curve tables of ZirIrodoDot.mdb; do not edit by\n"
      "-- hand. Regenerate with the build target nyluxora_regenerate_cu_sql.\n\n";
  for (const std::string& text : job_texts) {
    std::string error;
    const auto job = ParseJob(text, error);
    if (!job) {
      std::cerr << "cu_generator: " << error << "\n";
      return 2;
    }
    const auto curve = db.ReadCurve(job->curve_table, error);
    if (!curve) {
      std::cerr << "cu_generator: " << error << "\n";
      return 1;
    }
    if (!PlausibleOutput(*curve, job->upward_lor)) {
      std::cerr << "cu_generator: " << job->curve_table
                << ": light output ratio must be above 0 and at most 1\n";
      return 1;
    }
    sql += TableSql(*job, *curve);
    sql += "\n";
  }
  if (!check.empty()) {
    std::ifstream in(check, std::ios::binary);
    std::ostringstream existing;
    existing << in.rdbuf();
    if (!in || existing.str() != sql) {
      std::cerr << "cu_generator: " << check
                << " does not match the curve tables; rebuild it with the target "
                   "nyluxora_regenerate_cu_sql\n";
      return 1;
    }
    return 0;
  }
  if (!WriteAtomically(output, sql)) {
    std::cerr << "cu_generator: cannot write " << output << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Writes utilization-coefficient tables from distribution curves (zonal-cavity method)"};
  std::string curve_a_text;
  std::string curve_b_text;
  std::string db_path;
  std::string curve_table;
  double lor = 0.0;
  double upward_lor = 0.0;
  std::string series_text = "70";
  std::string table = "利用系数表";
  bool create = false;
  std::vector<std::string> jobs;
  std::string output;
  std::string check;

  auto* curve_opt = app.add_option("--curve", curve_a_text,
                                   "19 intensities of the A-A plane, cd per 1000 lamp lumens, "
                                   "0 to 90 degrees in steps of 5");
  app.add_option("--curve-b", curve_b_text, "19 intensities of the B-B plane (default: as A-A)")
      ->needs(curve_opt);
  auto* db_opt = app.add_option("--db", db_path, "point-method database holding curve tables");
  auto* table_curve_opt =
      app.add_option("--curve-table", curve_table, "curve table to read from --db")->needs(db_opt);
  curve_opt->excludes(table_curve_opt);
  app.add_option("--lor", lor,
                 "scale the curve to this downward light output ratio (for curves given per "
                 "1000 luminaire lumens or as a relative shape)")
      ->check(CLI::Range(0.0, 1.0));
  app.add_option("--ulor", upward_lor, "upward light output ratio (default 0)")
      ->check(CLI::Range(0.0, 1.0));
  app.add_option("--series", series_text, "reflectance series: 70 or 80 (default 70)")
      ->check(CLI::IsMember({"70", "80"}));
  app.add_option("--table", table, "coefficient table name used in the statements");
  app.add_flag("--create", create, "start with the CREATE TABLE statement");
  auto* job_opt =
      app.add_option("--job", jobs, "batch: CURVE_TABLE:CU_TABLE:SERIES[:ULOR], repeatable")
          ->needs(db_opt);
  auto* output_opt = app.add_option("--output", output, "batch: SQL file to write")->needs(job_opt);
  auto* check_opt =
      app.add_option("--check", check, "batch: compare with this SQL file instead of writing")
          ->needs(job_opt);
  output_opt->excludes(check_opt);
  job_opt->excludes(curve_opt)->excludes(table_curve_opt);
  CLI11_PARSE(app, argc, argv);

  std::optional<Database> db;
  if (!db_path.empty()) {
    db.emplace(db_path);
    if (!db->error().empty()) {
      std::cerr << "cu_generator: " << db->error() << "\n";
      return 1;
    }
  }

  if (!jobs.empty()) {
    if (output.empty() && check.empty()) {
      std::cerr << "cu_generator: --job needs --output or --check\n";
      return 2;
    }
    return RunBatch(*db, jobs, output, check);
  }

  std::string error;
  Curve curve;
  if (!curve_table.empty()) {
    const auto read = db->ReadCurve(curve_table, error);
    if (!read) {
      std::cerr << "cu_generator: " << error << "\n";
      return 1;
    }
    curve = *read;
  } else if (!curve_a_text.empty()) {
    const auto a = ParseValues(curve_a_text, error);
    const auto b = curve_b_text.empty() ? a : ParseValues(curve_b_text, error);
    if (!a || !b) {
      std::cerr << "cu_generator: " << error << "\n";
      return 2;
    }
    curve = Curve{*a, *b};
  } else {
    std::cerr << "cu_generator: give a curve with --curve or --db and --curve-table\n"
              << app.help();
    return 2;
  }
  if (nyluxora::cu::DownwardLor(curve) > 0.0 && lor > 0.0) {
    curve = nyluxora::cu::ScaledToDownwardLor(curve, lor);
  }
  if (!PlausibleOutput(curve, upward_lor)) {
    std::cerr << "cu_generator: light output ratio must be above 0 and at most 1\n";
    return 1;
  }
  if (!ValidTableName(table)) {
    std::cerr << "cu_generator: invalid table name \"" << table << "\"\n";
    return 2;
  }

  std::fprintf(stderr, "downward LOR %.3f, upward LOR %.3f\n", nyluxora::cu::DownwardLor(curve),
               upward_lor);
  std::string sql = create ? nyluxora::cu::CreateTableSql(table) : std::string();
  sql += nyluxora::cu::InsertRowsSql(
      table, nyluxora::cu::CuTable(curve, upward_lor, *ParseSeries(series_text)));
  std::cout << sql;
  return 0;
}
