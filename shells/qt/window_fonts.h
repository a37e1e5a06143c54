#pragma once
// The fonts of both windows. Their layouts are sized for three fonts that a
// Linux machine does not have; each is followed by the family that stands in
// for it. Liberation Sans has Arial's metrics (Debian: fonts-liberation2).
// MS Sans Serif and Comic Sans MS have no metric-compatible free family:
// Liberation Sans and Comic Neue (fonts-comic-neue) come closest and keep
// every text inside its label. The window tests check that they do.
#include <QFont>
#include <QStringList>

namespace shell_qt {

inline const QStringList kDialogFamilies = {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")};
inline const QStringList kArialFamilies = {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")};
inline const QStringList kComicFamilies = {QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue")};

enum class FontStyle { Regular, Bold, BoldItalic };

inline QFont PixelFont(const QStringList& families, int pixelHeight, FontStyle style = FontStyle::Regular) {
  QFont font;
  font.setFamilies(families);
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelHeight);
  font.setBold(style != FontStyle::Regular);
  font.setItalic(style == FontStyle::BoldItalic);
  return font;
}

}  // namespace shell_qt
