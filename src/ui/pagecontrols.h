// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ui {

class ClickLabel;

// What the window's two pages are built of: their size, the field headings
// (one per help index) and the boxes, check boxes and buttons, each named
// and spoken as the rest of the program expects.
namespace pagecontrols {

inline constexpr int LineCount = 12;
inline constexpr int AddressLines = 6;
inline constexpr int FooterLines = 3;
inline constexpr int HeadingCount = 31;

inline constexpr int PageWidth = 701;
inline constexpr int PageHeight = 446;
inline constexpr int BoxHeight = 19;

// The caption of heading `index`, as written ("+Ship&&Hand").
QString HeadingCaption(int index);
// The heading's caption as a screen reader speaks it ("Ship&Hand").
QString SpokenHeading(int index);
// "txtQty(3)": the name of one box of a row of boxes.
QString ArrayName(const QString &name, int index);

// The bold heading `index` ("lblHeading(index)") on `parent`.
ClickLabel *MakeHeading(int index, QWidget *parent, const QRect &geometry);

// An entry box, a box the program fills (grey) or a figure the totals fill
// (blue); the last two are no tab stops but take a click, so their text can
// be copied.
enum class BoxKind { Entry, Shown, Figure };
QLineEdit *MakeBox(QWidget *parent, const QString &name, const QString &spoken, const QRect &geometry,
                   Qt::Alignment alignment, BoxKind kind = BoxKind::Entry);
QCheckBox *MakeCheck(QWidget *parent, const QString &name, const QString &spoken, const QRect &geometry);
QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry);

} // namespace pagecontrols

} // namespace ui
