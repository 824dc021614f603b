// Draws the picture of every luminaire of the lumen-method catalogue (NyData.mdb, column 位图):
// its distribution curve from the point-method curve table of ZirIrodoDot.mdb, painted as the
// dialogs preview it and saved as a BMP in the data folder's "照度曲线/".
// Usage: make_curve_pictures DATA_FOLDER
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/module_state.h"
#include "host/file_io.h"
#include "host/host.h"
#include "refdata/curve_preview.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "render/export.h"
#include "render/qt_painter.h"
#include "support/ny_access.h"

namespace {

// The luminaire chooser's picture control is about this size on screen.
constexpr int kWidth = 280, kHeight = 180;

struct StderrOutput : nyhost::OutputPort {
  void Print(std::string_view text) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }
};

bool WritePicture(const PreviewCurve& curve, const std::string& path, std::string& why) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter qp(&image);
    qp.setRenderHint(QPainter::Antialiasing);
    nyrender::QtPainter painter(qp, kWidth, kHeight);
    PaintPreviewCurve(painter, curve);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "BMP")) {
    why = "the BMP encoder refused the picture";
    return false;
  }
  return nyhost::WriteFileAtomically(path, bytes.toStdString(), why);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_curve_pictures DATA_FOLDER\n");
    return 2;
  }
  // A build machine has no screen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  nyrender::EnsureGuiApplication();
  StderrOutput output;
  nyhost::Host::Get().SetOutput(&output);
  nyhost::Host::Get().windows().message_echo = [](const std::string& m) {
    std::fprintf(stderr, "%s\n", m.c_str());
  };
  Module().DataFolder = (std::filesystem::path(argv[1]) / "").string();
  const std::string folder = Module().DataFolder + "照度曲线/";
  NyAccess* catalogue = NyDataDb();
  NyAccess* curves = ZirIrodoDotDb();
  if (!catalogue || !curves) {
    std::fprintf(stderr, "%s: NyData.mdb and ZirIrodoDot.mdb must both open\n", argv[1]);
    return 1;
  }
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    std::fprintf(stderr, "%s: %s\n", folder.c_str(), ec.message().c_str());
    return 1;
  }
  NyStTable rows;
  const int n = catalogue->GetSelData(rows, kSelectCuLuminaireRowsAll);
  int failed = 0;
  std::vector<std::string> row;
  for (int r = 0; r < n; ++r) {
    rows.GetValueRecord(row, r);
    if (row.size() < 5 || row[4].empty()) continue;
    const std::string &kind = row[0], &model = row[1], &bitmap = row[4];
    std::vector<std::string> table;
    PreviewCurve curve;
    std::string why;
    if (curves->GetSelData(table, FormatSql(kSelectCurveOfLuminaire, kind, model)) == 0) {
      why = "no curve table in ZirIrodoDot.mdb";
    } else if (!LoadPreviewCurve(table[0], curve)) {
      why = "curve table <" + table[0] + "> unreadable";
    } else if (WritePicture(curve, folder + bitmap, why)) {
      continue;
    }
    std::fprintf(stderr, "%s %s (%s): %s\n", kind.c_str(), model.c_str(), bitmap.c_str(),
                 why.c_str());
    ++failed;
  }
  CloseAllConnections();
  return failed == 0 ? 0 : 1;
}
