#include "office/docx_document.h"

#include <zip.h>

#include <cmath>
#include <cstdio>
#include <deque>
#include <pugixml.hpp>
#include <sstream>

#include "host/file_io.h"

namespace nyoffice {
namespace {

constexpr const char* kWordNs = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr const char* kContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>)"
    R"(</Types>)";
constexpr const char* kPackageRels =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";
constexpr const char* kDocumentRels =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(</Relationships>)";

std::string Serialise(const pugi::xml_document& doc) {
  std::ostringstream os;
  doc.save(os, "", pugi::format_raw, pugi::encoding_utf8);
  return os.str();
}

pugi::xml_document NewPart(const char* root) {
  pugi::xml_document doc;
  auto decl = doc.append_child(pugi::node_declaration);
  decl.append_attribute("version") = "1.0";
  decl.append_attribute("encoding") = "UTF-8";
  decl.append_attribute("standalone") = "yes";
  doc.append_child(root).append_attribute("xmlns:w") = kWordNs;
  return doc;
}

// The run properties every paragraph shares: the font for Latin and East Asian text, the size
// in half-points.
void AddRunProperties(pugi::xml_node parent, const std::string& font, double size_pt) {
  auto rpr = parent.append_child("w:rPr");
  auto fonts = rpr.append_child("w:rFonts");
  for (const char* a : {"w:ascii", "w:hAnsi", "w:eastAsia", "w:cs"})
    fonts.append_attribute(a) = font.c_str();
  const std::string half_points = std::to_string(std::lround(size_pt * 2));
  rpr.append_child("w:sz").append_attribute("w:val") = half_points.c_str();
  rpr.append_child("w:szCs").append_attribute("w:val") = half_points.c_str();
  rpr.append_child("w:lang").append_attribute("w:eastAsia") = "zh-CN";
}

std::string Styles(const std::string& font, double size_pt) {
  auto doc = NewPart("w:styles");
  auto defaults = doc.document_element().append_child("w:docDefaults");
  AddRunProperties(defaults.append_child("w:rPrDefault"), font, size_pt);
  defaults.append_child("w:pPrDefault")
      .append_child("w:pPr")
      .append_child("w:spacing")
      .append_attribute("w:after") = "0";
  return Serialise(doc);
}

std::string Document(const std::vector<std::string>& paragraphs, const std::string& font,
                     double size_pt) {
  auto doc = NewPart("w:document");
  auto body = doc.document_element().append_child("w:body");
  for (const auto& text : paragraphs) {
    auto p = body.append_child("w:p");
    if (text.empty()) continue;
    auto r = p.append_child("w:r");
    AddRunProperties(r, font, size_pt);
    std::string piece;
    auto flush = [&] {
      if (piece.empty()) return;
      auto t = r.append_child("w:t");
      t.append_attribute("xml:space") = "preserve";
      t.text() = piece.c_str();
      piece.clear();
    };
    for (char c : text) {
      if (c == '\t') {
        flush();
        r.append_child("w:tab");
      } else if (static_cast<unsigned char>(c) >= 0x20) {
        piece += c;
      }
    }
    flush();
  }
  // A4 with 2 cm margins, in twentieths of a point.
  auto sect = body.append_child("w:sectPr");
  auto size = sect.append_child("w:pgSz");
  size.append_attribute("w:w") = "11906";
  size.append_attribute("w:h") = "16838";
  auto margins = sect.append_child("w:pgMar");
  for (const char* a : {"w:top", "w:right", "w:bottom", "w:left"})
    margins.append_attribute(a) = "1134";
  for (const char* a : {"w:header", "w:footer", "w:gutter"}) margins.append_attribute(a) = "0";
  return Serialise(doc);
}

// The package as bytes: the parts zipped into a memory source, then read back.
bool Package(const std::deque<std::pair<const char*, std::string>>& parts, std::string& bytes) {
  zip_error_t ze;
  zip_error_init(&ze);
  zip_source_t* mem = zip_source_buffer_create(nullptr, 0, 0, &ze);
  if (!mem) return false;
  zip_t* za = zip_open_from_source(mem, ZIP_TRUNCATE, &ze);
  if (!za) {
    zip_source_free(mem);
    return false;
  }
  zip_source_keep(mem);  // read back after zip_close
  bool ok = true;
  for (const auto& [name, text] : parts) {
    zip_source_t* src = zip_source_buffer(za, text.data(), text.size(), 0);
    if (!src || zip_file_add(za, name, src, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
      if (src) zip_source_free(src);
      ok = false;
      break;
    }
  }
  if (!ok) {
    zip_discard(za);
  } else {
    ok = zip_close(za) == 0;
    if (!ok) zip_discard(za);
  }
  if (ok && zip_source_open(mem) == 0) {
    zip_source_seek(mem, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(mem);
    zip_source_seek(mem, 0, SEEK_SET);
    bytes.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    ok = size > 0 && zip_source_read(mem, bytes.data(), size) == size;
    zip_source_close(mem);
  } else {
    ok = false;
  }
  zip_source_free(mem);
  return ok;
}

}  // namespace

bool WriteDocx(const std::string& path, const std::vector<std::string>& paragraphs,
               const std::string& font, double size_pt, std::string& error) {
  // The part texts must live until the package is closed.
  const std::deque<std::pair<const char*, std::string>> parts = {
      {"[Content_Types].xml", kContentTypes},
      {"_rels/.rels", kPackageRels},
      {"word/_rels/document.xml.rels", kDocumentRels},
      {"word/styles.xml", Styles(font, size_pt)},
      {"word/document.xml", Document(paragraphs, font, size_pt)}};
  std::string bytes;
  if (!Package(parts, bytes)) {
    error = "cannot assemble the document " + path;
    return false;
  }
  return nyhost::WriteFileAtomically(path, bytes, error);
}

}  // namespace nyoffice
