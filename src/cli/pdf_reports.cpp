// Reports as PDF through the Qt renderer, installed before any subcommand runs. Built only where
// the renderer is; without it the host's port refuses PDF with a message.
#include "host/host.h"
#include "render/report_pdf.h"

namespace nycli {
namespace {

const bool kPdfReports = [] {
  static nyrender::PdfReportWriter writer;
  nyhost::Host::Get().SetReports(&writer);
  return true;
}();

}  // namespace
}  // namespace nycli
