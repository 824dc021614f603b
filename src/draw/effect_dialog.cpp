#include "draw/effect_dialog.h"

#include <fmt/format.h>
#include <fmt/printf.h>

#include "host/aci_colors.h"
#include "host/host.h"
#include "resources/templates.h"

namespace nydraw {
namespace {

constexpr const char* kCaption = "岚序软件";
constexpr const char* kCustom = "自定义";

int Box(const std::string& text, nyhost::MbIcon icon) {
  return nyhost::Host::Get().windows().MessageBox(kCaption, text, icon, nyhost::MbButtons::kOk);
}

}  // namespace

int EffectDialog::DoModal() {
  return nyhost::Host::Get().windows().RunModal(nyres::DialogTemplateOf(kTemplateId), *this);
}

ColourEffect* EffectDialog::Current() {
  if (current_ < 0 || current_ >= static_cast<int>(effects_.size())) return nullptr;
  return &effects_[static_cast<std::size_t>(current_)];
}

void EffectDialog::OnInitDialog(nyhost::Dialog& dlg) {
  std::string error;
  if (!LoadEffects(file_, effects_, error) || effects_.empty()) {
    // Nothing is written: a damaged file stays as it is for the supplier to look at.
    Box(fmt::sprintf("重要文件: %s 丢失!请联系软件供应商获取文件。", file_),
        nyhost::MbIcon::kError);
    dlg.EndDialog(nyhost::kIdCancel);
    return;
  }
  for (const auto& e : effects_) dlg.AddString(388, e.name);
  for (const auto& s : ColourScaleNames()) dlg.AddString(390, s);
  dlg.AddString(390, kCustom);
  for (int v : {50, 100, 150, 200, 300, 500, 750, 1000, 1500, 2000}) {
    dlg.AddString(391, std::to_string(v));
    dlg.AddString(392, std::to_string(v));
  }
  dlg.AddString(392, "0");
  current_ = 0;
  for (std::size_t k = 0; k < effects_.size(); ++k)
    if (effects_[k].name == name_) current_ = static_cast<int>(k);
  ShowEffect(dlg);
}

void EffectDialog::ShowEffect(nyhost::Dialog& dlg) {
  const ColourEffect* e = Current();
  if (!e) return;
  dlg.SetCurSel(388, current_);
  const int scale = dlg.FindStringExact(390, e->scale);
  dlg.SetCurSel(390, scale >= 0 ? scale : dlg.FindStringExact(390, kCustom));
  dlg.SetText(391, fmt::format("{:g}", e->range_max));
  dlg.SetText(392, fmt::format("{:g}", e->range_min));
  dlg.ResetContent(389);
  for (const auto& r : e->recommended) dlg.AddString(389, r);
  dlg.Enable(395, effects_.size() > 1);
  dlg.Invalidate(398);
}

// The typed range into the current effect; a bad one is refused and the old one shown again.
bool EffectDialog::ReadRange(nyhost::Dialog& dlg) {
  ColourEffect* e = Current();
  if (!e) return false;
  double hi = 0, lo = 0;
  if (!ParseNumber(dlg.GetText(391), hi) || !ParseNumber(dlg.GetText(392), lo) || lo < 0 ||
      lo >= hi) {
    Box("你输入的数据不合理!", nyhost::MbIcon::kWarning);
    dlg.SetText(391, fmt::format("{:g}", e->range_max));
    dlg.SetText(392, fmt::format("{:g}", e->range_min));
    return false;
  }
  e->range_max = hi;
  e->range_min = lo;
  return true;
}

void EffectDialog::OnSelChange(nyhost::Dialog& dlg, int id) {
  ColourEffect* e = Current();
  if (!e) return;
  const int sel = dlg.GetCurSel(id);
  if (id == 388 && sel >= 0) {
    current_ = sel;
    ShowEffect(dlg);
  } else if (id == 390 && sel >= 0) {
    const std::string scale = dlg.GetItemText(390, sel);
    auto stops = ColourScaleStops(scale);
    e->scale = scale;
    if (!stops.empty()) {
      e->stops = std::move(stops);
      e->stop_indices.clear();
      e->aci = false;
    }
    dlg.Invalidate(398);
  } else if (id == 389 && sel >= 0) {
    double lo = 0, hi = 0;
    if (ParseRange(dlg.GetItemText(389, sel), lo, hi)) {
      e->range_min = lo;
      e->range_max = hi;
      ShowEffect(dlg);
    }
  } else if (id == 391 || id == 392) {
    if (sel >= 0) dlg.SetText(id, dlg.GetItemText(id, sel));
    ReadRange(dlg);
  }
}

void EffectDialog::OnKillFocus(nyhost::Dialog& dlg, int id) {
  if (id == 391 || id == 392) ReadRange(dlg);
}

bool EffectDialog::OnKey(nyhost::Dialog& dlg, int key) {
  if (key == nyhost::kKeyEnter) {
    OnOk(dlg);
    return true;
  }
  if (key == nyhost::kKeyEscape) {
    dlg.EndDialog(nyhost::kIdCancel);
    return true;
  }
  return false;
}

void EffectDialog::OnClick(nyhost::Dialog& dlg, int id) {
  ColourEffect* e = Current();
  if (!e) return;
  switch (id) {
    case 394:
      AddEffect(dlg);
      break;
    case 395:
      DeleteEffect(dlg);
      break;
    case 396: {
      if (!ReadRange(dlg)) break;
      const std::string r = fmt::format("{:g}-{:g}", e->range_min, e->range_max);
      if (dlg.FindStringExact(389, r) < 0) e->recommended.push_back(r);
      ShowEffect(dlg);
      dlg.SetCurSel(389, dlg.FindStringExact(389, r));
      break;
    }
    case 397: {
      const int sel = dlg.GetCurSel(389);
      if (sel < 0 || sel >= static_cast<int>(e->recommended.size())) break;
      e->recommended.erase(e->recommended.begin() + sel);
      ShowEffect(dlg);
      break;
    }
    case 387:
      OnOk(dlg);
      break;
    case 393:
      dlg.EndDialog(nyhost::kIdCancel);
      break;
    default:
      break;
  }
}

// "+": a copy of the current effect under the name typed into 388 (or a new one).
void EffectDialog::AddEffect(nyhost::Dialog& dlg) {
  ColourEffect copy = *Current();
  std::string name = dlg.GetText(388);
  auto taken = [&](const std::string& n) {
    for (const auto& e : effects_)
      if (e.name == n) return true;
    return false;
  };
  // Section names cannot hold brackets or line breaks.
  if (name.find_first_of("[]\r\n=;") != std::string::npos) name.clear();
  for (int k = 1; name.empty() || taken(name); ++k) name = fmt::format("效果{}", k);
  copy.name = name;
  effects_.push_back(std::move(copy));
  dlg.AddString(388, name);
  current_ = static_cast<int>(effects_.size()) - 1;
  ShowEffect(dlg);
}

void EffectDialog::DeleteEffect(nyhost::Dialog& dlg) {
  if (effects_.size() < 2) return;
  effects_.erase(effects_.begin() + current_);
  dlg.ResetContent(388);
  for (const auto& e : effects_) dlg.AddString(388, e.name);
  current_ = std::min(current_, static_cast<int>(effects_.size()) - 1);
  ShowEffect(dlg);
}

void EffectDialog::OnOk(nyhost::Dialog& dlg) {
  if (!ReadRange(dlg)) return;
  if (!SaveEffects(file_, effects_)) {
    Box(fmt::sprintf("无法写入文件 %s!", file_), nyhost::MbIcon::kError);
    return;
  }
  name_ = Current()->name;
  dlg.EndDialog(nyhost::kIdOk);
}

void EffectDialog::OnPaint(nyhost::Dialog&, int id, nyhost::Painter& p) {
  const ColourEffect* e = Current();
  if (id != 398 || !e) return;
  // The levels of the absolute range in ten steps, as the drawing will colour them.
  const int n = 10;
  const double w = p.Width() / n, h = p.Height() * 0.6;
  for (int k = 0; k < n; ++k) {
    const std::uint32_t rgb = nyhost::AciToRgb(EffectColourIndex(*e, double(k) / (n - 1)));
    p.Rect(k * w, 0, w, h, rgb, rgb);
  }
  p.Text(0, h + 2, fmt::format("{:g}", e->range_min), 0x000000, 10);
  p.Text(p.Width() - 30, h + 2, fmt::format("{:g}", e->range_max), 0x000000, 10);
}

bool RunEffectDialog(const std::string& file, std::string& name) {
  EffectDialog dlg(file, name);
  if (dlg.DoModal() != nyhost::kIdOk) return false;
  name = dlg.name();
  return true;
}

}  // namespace nydraw
