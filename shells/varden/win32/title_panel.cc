#include "shells/varden/win32/title_panel.h"

#include "shells/win32/dpi.h"
#include "shells/win32/labels.h"

namespace varden {
namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kSilver = RGB(192, 192, 192);

struct LabelLayout {
  int left, top, width, height;
};
constexpr LabelLayout kLabel5{90, 51, 307, 68};
constexpr LabelLayout kLabel15{331, 121, 126, 22};
constexpr LabelLayout kLabel4{34, 145, 433, 22};

const win32_shell::FontSpec kNameFont{L"Comic Sans MS", 48, true, true};
const win32_shell::FontSpec kVersionFont{L"Comic Sans MS", 15, true, true};
const win32_shell::FontSpec kSubtitleFont{L"Arial", 19, true, false};

void Place(HWND label, const LabelLayout& layout, UINT dpi) {
  win32_shell::PlaceLabel(label, win32_shell::ScaledRect(layout.left, layout.top, layout.width, layout.height, dpi));
}

}  // namespace

TitlePanel::TitlePanel() : blue_(CreateSolidBrush(kBlue)) {}

TitlePanel::~TitlePanel() {
  if (Handle()) DestroyWindow(Handle());
  DeleteObject(blue_);
}

bool TitlePanel::CreateIn(HWND parent) {
  const win32_shell::WindowClass panelClass{L"VardenTitlePanel", nullptr};
  if (!Create(panelClass, 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, L"PanStronaTyt", parent, {0, 0, 0, 0}))
    return false;
  Label5 = win32_shell::CreateLabel(Handle(), L" VARDEN  ");
  Label15 = win32_shell::CreateLabel(Handle(), L"Wersja 1.3");
  Label4 = win32_shell::CreateLabel(Handle(), L"Obrobka danych danych drukarki fiskalnej");
  return Label5 && Label15 && Label4;
}

void TitlePanel::ApplyDpi(UINT dpi) {
  RECT parent;
  GetClientRect(GetParent(Handle()), &parent);
  MoveWindow(Handle(), 0, 0, parent.right, parent.bottom, TRUE);
  nameFont_ = win32_shell::CreateLayoutFont(kNameFont, dpi);
  versionFont_ = win32_shell::CreateLayoutFont(kVersionFont, dpi);
  subtitleFont_ = win32_shell::CreateLayoutFont(kSubtitleFont, dpi);
  win32_shell::SetControlFont(Label5, nameFont_.get());
  win32_shell::SetControlFont(Label15, versionFont_.get());
  win32_shell::SetControlFont(Label4, subtitleFont_.get());
  Place(Label5, kLabel5, dpi);
  Place(Label15, kLabel15, dpi);
  Place(Label4, kLabel4, dpi);
}

void TitlePanel::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Handle(), &paint);
  RECT area;
  GetClientRect(Handle(), &area);
  FillRect(dc, &area, blue_);
  DrawEdge(dc, &area, BDR_RAISEDOUTER, BF_RECT | BF_ADJUST);
  DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT);
  EndPaint(Handle(), &paint);
}

LRESULT TitlePanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CTLCOLORSTATIC: {
      // The labels' text stands on the panel's blue.
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, reinterpret_cast<HWND>(lParam) == Label4 ? kSilver : kYellow);
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(blue_);
    }
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace varden
