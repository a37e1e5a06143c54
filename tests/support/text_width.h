#pragma once
// How wide a text is drawn in the font that the window system actually
// resolved, for the tests that keep every text of a window inside its label.
#include <QFontInfo>
#include <QFontMetrics>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <string>

namespace testing_support {

// The widest line of `text` in pixels, up to its last visible glyph: the
// advance without trailing blanks, or the ink where an italic glyph reaches
// past it.
inline int DrawnWidth(const QFont& font, const QString& text) {
  const QFontMetrics metrics(font);
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    QString visible = line;
    while (!visible.isEmpty() && visible.back().isSpace()) visible.chop(1);
    if (visible.isEmpty()) continue;
    widest = std::max({widest, metrics.horizontalAdvance(visible), metrics.tightBoundingRect(visible).right() + 1});
  }
  return widest;
}

inline std::string ResolvedFamily(const QFont& font) { return QFontInfo(font).family().toStdString(); }

}  // namespace testing_support
