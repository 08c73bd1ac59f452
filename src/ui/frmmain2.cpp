// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmmain2.h"

#include "platform/platform.h"
#include "settings/clssettings.h"
#include "ui/accessibility.h"
#include "ui/clicklabel.h"
#include "ui/keyboardguard.h"
#include "ui/textbox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTabBar>

using namespace Qt::StringLiterals;

namespace {

// Captions of the field headings, by their help index.
const std::array<const char16_t *, frmMain2::HeadingCount> HeadingCaptions = {
    u"Customer Details", u"QTY", u"DESCRIPTION", u"UNIT PRICE", u"TOTAL", u"TAX",
    u"+Surcharge1 %", u"-Discount %", u"=Sub Total", u"+Ship&&Hand", u"+Tax", u"Payment Method",
    u"=Total", u"+Surcharge2 %", u"-Received", u"Balance", u"Company Name", u"Invoice Number",
    u"Company Details", u"Charge Tax", u"Tax Name", u"Tax Value %",
    u"Charge Tax on Shipping && Handling / Carriage", u"Company Tel No", u"Company Fax No",
    u"Currency", u"Invoice Template", u"Logo", u"Footer Line 1", u"Footer Line 2", u"Footer Line 3",
};

constexpr int ClientWidth = 713;
constexpr int ClientHeight = 482;
constexpr int PageWidth = 701;
constexpr int PageHeight = 446;
constexpr int RowPitch = 18; // 270 twips
constexpr int BoxHeight = 19;

const QColor LightGrey(0xe0, 0xe0, 0xe0);
const QColor LightBlue(0x5b, 0x7f, 0xd6);

QString spokenHeading(int index)
{
    return ClickLabel::spokenName(QString::fromUtf16(HeadingCaptions[index]));
}

QString arrayName(const QString &name, int index)
{
    return u"%1(%2)"_s.arg(name).arg(index);
}

enum class BoxKind { Entry, Shown, Figure };

QLineEdit *makeBox(QWidget *parent, const QString &name, const QString &spoken, const QRect &geometry,
                   Qt::Alignment alignment, BoxKind kind = BoxKind::Entry)
{
    auto *box = new TextBox(parent);
    box->setObjectName(name);
    // Boxes inside a bold frame stay regular.
    QFont font = box->font();
    font.setBold(false);
    box->setFont(font);
    box->setAccessibleName(spoken);
    box->setGeometry(geometry);
    box->setAlignment(alignment | Qt::AlignVCenter);
    box->setFrame(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    if (kind != BoxKind::Entry) {
        box->setReadOnly(true);
        // Not a tab stop, but a click still reaches it so its text can be copied.
        box->setFocusPolicy(Qt::ClickFocus);
        palette.setColor(QPalette::Base, kind == BoxKind::Shown ? LightGrey : LightBlue);
        palette.setColor(QPalette::Text, kind == BoxKind::Shown ? Qt::black : Qt::white);
    }
    box->setPalette(palette);
    return box;
}

QCheckBox *makeCheck(QWidget *parent, const QString &name, const QString &spoken, const QRect &geometry)
{
    auto *check = new QCheckBox(parent);
    check->setObjectName(name);
    check->setAccessibleName(spoken);
    check->setGeometry(geometry);
    return check;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

QFrame *makeLine(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setGeometry(geometry);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    line->setPalette(palette);
    MarkDecorative(line);
    return line;
}

void makeBlackOnWhite(QLabel *label, int pointSize)
{
    label->setAutoFillBackground(true);
    label->setAlignment(Qt::AlignCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(true);
    if (pointSize > 0)
        font.setPointSizeF(pointSize);
    label->setFont(font);
}

} // namespace

frmMain2::frmMain2(Platform &platform, clsSettings &settings, QWidget *parent)
    : QMainWindow(parent)
    , m_platform(platform)
    , m_settings(settings)
{
    setObjectName(u"frmMain2"_s);
    setWindowTitle(u"POS Quillbook"_s);
    // A fixed single border with a minimise box and no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    QFont font(u"Noto Sans"_s);
    font.setPixelSize(11);
    setFont(font);
    InstallAccessibility();

    // The layout is fixed; where the screen is too small for it, the window
    // shrinks to the screen and the pages scroll (see placeOnScreen).
    auto *client = new QWidget;
    client->setObjectName(u"client"_s);
    client->setFixedSize(ClientWidth, ClientHeight);
    auto *scroller = new QScrollArea(this);
    scroller->setObjectName(u"clientScroller"_s);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setWidget(client);
    setCentralWidget(scroller);

    tab1 = new QTabBar(client);
    tab1->setObjectName(u"tab1"_s);
    tab1->setAccessibleName(u"Pages"_s);
    tab1->setDrawBase(false);
    tab1->setExpanding(false);
    QFont bold = font;
    bold.setBold(true);
    tab1->setFont(bold);
    tab1->addTab(u"Invoice"_s);
    tab1->addTab(u"Settings"_s);
    tab1->setGeometry(2, 2, ClientWidth - 4, 26);
    // Not a tab stop: the keyboard comes here when the page changes, so that
    // what is typed next replaces no box's text until the user enters one.
    tab1->setFocusPolicy(Qt::ClickFocus);

    auto *panel = new QFrame(client);
    panel->setObjectName(u"tabPanel"_s);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(2, 27, ClientWidth - 4, ClientHeight - 29);

    picInvoice = new QWidget(client);
    picInvoice->setObjectName(u"picInvoice"_s);
    picInvoice->setGeometry(QRect(pagePosition(), QSize(PageWidth, PageHeight)));
    picSettings = new QWidget(client);
    picSettings->setObjectName(u"picSettings"_s);
    picSettings->setGeometry(QRect(pagePosition(), QSize(PageWidth, PageHeight)));
    picSettings->hide();

    for (int i = 0; i < HeadingCount; ++i) {
        lblHeading[i] = new ClickLabel(QString::fromUtf16(HeadingCaptions[i]));
        lblHeading[i]->setObjectName(arrayName(u"lblHeading"_s, i));
        lblHeading[i]->setFont(bold);
    }

    buildInvoicePage();
    buildSettingsPage();
    buildMenus();
    buildTabOrder();

    connectInvoicePage();
    connectSettingsPage();
    connectSheetCommands();
    connectHelpAndDialogs();
    buildEInvoicing();

    auto *keys = new KeyboardGuard(this);
    keys->setPageKeys(this, [this](int step) { ShowNeighbourPage(step); });
    connect(new QShortcut(Qt::Key_F1, this), &QShortcut::activated, this, &frmMain2::ShowHelpForFocus);

    setFixedSize(naturalSize());
}

QSize frmMain2::naturalSize() const
{
    return {ClientWidth, ClientHeight + menuBar()->sizeHint().height()};
}

QRect frmMain2::Placement(QSize natural, const QRect &available, const QMargins &frame)
{
    // The frame, not only the inside, stays within the screen's free area.
    const QSize room = available.size().shrunkBy(frame).expandedTo(QSize(1, 1));
    QRect outer(QPoint(), natural.boundedTo(room).grownBy(frame));
    outer.moveCenter(available.center());
    outer.moveLeft(std::clamp(outer.left(), available.left(), available.right() - outer.width() + 1));
    outer.moveTop(std::clamp(outer.top(), available.top(), available.bottom() - outer.height() + 1));
    return outer.marginsRemoved(frame);
}

void frmMain2::placeOnScreen()
{
    const QScreen *shown = screen();
    if (!shown)
        return;
    // Before the window manager has framed the window its frame is unknown;
    // allow for a title bar and borders.
    const QRect inner = geometry(), outer = frameGeometry();
    QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                   outer.bottom() - inner.bottom());
    if (frame.isNull())
        frame = QMargins(8, 32, 8, 8);
    const QRect placed = Placement(naturalSize(), shown->availableGeometry(), frame);
    setFixedSize(placed.size());
    move(placed.topLeft() - QPoint(frame.left(), frame.top()));
}

frmMain2::~frmMain2() = default;

QPoint frmMain2::pagePosition()
{
    return {6, 30}; // 90 twips from the left, 450 from the top
}

void frmMain2::buildInvoicePage()
{
    QWidget *page = picInvoice;

    Frame2 = new QFrame(page);
    Frame2->setObjectName(u"Frame2"_s);
    Frame2->setFrameShape(QFrame::StyledPanel);
    Frame2->setGeometry(4, 2, 693, 86);
    lblHeading[0]->setParent(Frame2);
    lblHeading[0]->setGeometry(8, 4, 200, 16);
    for (int i = 0; i < AddressLines; ++i) {
        const int column = i / 3;
        const int row = i % 3;
        const int x = column == 0 ? 26 : 370;
        const int y = 22 + row * 20;
        auto *number = new QLabel(QString::number(i + 1), Frame2);
        number->setObjectName(u"Label%1"_s.arg(27 + i));
        number->setAlignment(Qt::AlignCenter);
        QFont numberFont = number->font();
        numberFont.setBold(true);
        number->setFont(numberFont);
        number->setGeometry(x - 20, y, 18, BoxHeight);
        txtCustomerDetails[i] = makeBox(Frame2, arrayName(u"txtCustomerDetails"_s, i),
                                        u"%1 %2"_s.arg(spokenHeading(0)).arg(i + 1),
                                        QRect(x, y, 310, BoxHeight), Qt::AlignLeft);
    }

    // Column headings and the twelve invoice lines.
    struct Column { int x; int width; };
    const Column qty{6, 52}, description{60, 388}, price{450, 92}, total{544, 104}, tax{650, 40};
    const int headingY = 92;
    const int firstRow = 108;
    auto placeHeading = [&](int index, const Column &column, Qt::Alignment alignment) {
        lblHeading[index]->setParent(page);
        lblHeading[index]->setGeometry(column.x, headingY, column.width, 16);
        lblHeading[index]->setAlignment(alignment | Qt::AlignVCenter);
    };
    placeHeading(1, qty, Qt::AlignCenter);
    placeHeading(2, description, Qt::AlignCenter);
    placeHeading(3, price, Qt::AlignCenter);
    placeHeading(4, total, Qt::AlignCenter);
    placeHeading(5, tax, Qt::AlignRight);
    for (int i = 0; i < LineCount; ++i) {
        const int y = firstRow + i * RowPitch;
        const QString line = QString::number(i + 1);
        txtQty[i] = makeBox(page, arrayName(u"txtQty"_s, i), spokenHeading(1) + u' ' + line,
                            QRect(qty.x, y, qty.width, BoxHeight), Qt::AlignRight);
        txtDescription[i] = makeBox(page, arrayName(u"txtDescription"_s, i), spokenHeading(2) + u' ' + line,
                                    QRect(description.x, y, description.width, BoxHeight), Qt::AlignLeft);
        txtUnitPrice[i] = makeBox(page, arrayName(u"txtUnitPrice"_s, i), spokenHeading(3) + u' ' + line,
                                  QRect(price.x, y, price.width, BoxHeight), Qt::AlignRight);
        txtTotal[i] = makeBox(page, arrayName(u"txtTotal"_s, i), spokenHeading(4) + u' ' + line,
                              QRect(total.x, y, total.width, BoxHeight), Qt::AlignRight, BoxKind::Shown);
        chkTax[i] = makeCheck(page, arrayName(u"chkTax"_s, i), spokenHeading(5) + u' ' + line,
                              QRect(tax.x + 22, y, 18, BoxHeight));
        chkTax[i]->setText(QString());
    }

    // The adjustments and totals, in the order of the calculation.
    const int boxWidth = 86;
    const int gap = 22;
    auto columnX = [&](int column) { return 6 + column * (boxWidth + gap); };
    const int row1Heading = 330, row1Box = 346, row2Heading = 374, row2Box = 390;
    auto adjustment = [&](int headingIndex, const QString &name, int column, int headingY, int boxY,
                          BoxKind kind) {
        lblHeading[headingIndex]->setParent(page);
        lblHeading[headingIndex]->setGeometry(columnX(column), headingY, boxWidth + gap - 4, 16);
        const QString spoken = headingIndex == 10 ? u"Tax"_s : spokenHeading(headingIndex);
        QLineEdit *box = makeBox(page, name, spoken, QRect(columnX(column), boxY, boxWidth, BoxHeight + 1),
                                 Qt::AlignRight, kind);
        box->setText(u"0.00"_s);
        return box;
    };
    txtSurcharge1 = adjustment(6, u"txtSurcharge1"_s, 0, row1Heading, row1Box, BoxKind::Entry);
    txtSurcharge1->setToolTip(u"Example use - Service Charge"_s);
    txtDiscount = adjustment(7, u"txtDiscount"_s, 1, row1Heading, row1Box, BoxKind::Entry);
    txtSubTotal = adjustment(8, u"txtSubTotal"_s, 2, row1Heading, row1Box, BoxKind::Figure);
    txtSH = adjustment(9, u"txtSH"_s, 3, row1Heading, row1Box, BoxKind::Entry);
    txtTax = adjustment(10, u"txtTax"_s, 4, row1Heading, row1Box, BoxKind::Figure);
    txtTTotal = adjustment(12, u"txtTTotal"_s, 1, row2Heading, row2Box, BoxKind::Figure);
    txtSurcharge2 = adjustment(13, u"txtSurcharge2"_s, 2, row2Heading, row2Box, BoxKind::Entry);
    txtSurcharge2->setToolTip(u"Example use - Credit card costs"_s);
    txtReceived = adjustment(14, u"txtReceived"_s, 3, row2Heading, row2Box, BoxKind::Entry);
    txtBalance = adjustment(15, u"txtBalance"_s, 4, row2Heading, row2Box, BoxKind::Figure);

    // Connectors that lead the eye through the calculation: along the first
    // row, back along the page to the total, then along the second row.
    const int mid1 = row1Box + BoxHeight / 2;
    const int mid2 = row2Box + BoxHeight / 2;
    int lineNumber = 1;
    for (int column = 0; column < 4; ++column)
        makeLine(page, u"Line%1"_s.arg(lineNumber++), QRect(columnX(column) + boxWidth, mid1 - 1, gap, 3));
    const int backY = row1Box + BoxHeight + 4;
    const int taxMid = columnX(4) + boxWidth / 2;
    const int totalMid = columnX(1) + boxWidth / 2;
    makeLine(page, u"Line5"_s, QRect(taxMid - 1, row1Box + BoxHeight + 1, 3, backY - row1Box - BoxHeight));
    makeLine(page, u"Line6"_s, QRect(totalMid - 1, backY, taxMid - totalMid + 2, 3));
    makeLine(page, u"Line7"_s, QRect(totalMid - 1, backY, 3, row2Box - backY));
    lineNumber = 9;
    for (int column = 1; column < 4; ++column)
        makeLine(page, u"Line%1"_s.arg(lineNumber++), QRect(columnX(column) + boxWidth, mid2 - 1, gap, 3));
    makeLine(page, u"Line12"_s, QRect(columnX(4), row2Box + BoxHeight + 3, boxWidth, 3));

    // The invoice banner and the next number, left of the second row.
    Label26 = new ClickLabel(u"INVOICE"_s, page);
    Label26->setObjectName(u"Label26"_s);
    Label26->setGeometry(columnX(0), row2Heading, boxWidth, 24);
    makeBlackOnWhite(Label26, 12);
    lblNumber = new ClickLabel(u"Label27"_s, page);
    lblNumber->setObjectName(u"lblNumber"_s);
    lblNumber->setGeometry(columnX(0), row2Heading + 24, boxWidth, 18);
    makeBlackOnWhite(lblNumber, 0);

    // Payment method and the two commands, right of the totals.
    const int rightX = columnX(5) - 4;
    const int rightWidth = PageWidth - rightX - 6;
    lblHeading[11]->setParent(page);
    lblHeading[11]->setGeometry(rightX, row1Heading, rightWidth, 16);
    cmbPaymentMethod = new QComboBox(page);
    cmbPaymentMethod->setObjectName(u"cmbPaymentMethod"_s);
    cmbPaymentMethod->setAccessibleName(spokenHeading(11));
    cmbPaymentMethod->setGeometry(rightX, row1Box, rightWidth, 22);
    for (const QString &method : {u"CASH"_s, u"CHECK"_s, u"CHEQUE"_s, u"CARD"_s, u"TRANSFER"_s, u"OTHER"_s})
        cmbPaymentMethod->addItem(method, 0);
    cmbPaymentMethod->setCurrentIndex(-1);
    cmdPreview = makeButton(page, u"cmdPreview"_s, u"&Print PDF Invoice"_s, QRect(rightX, row2Heading - 2, rightWidth, 26));
    cmdNew = makeButton(page, u"cmdNew"_s, u"&New Invoice"_s, QRect(rightX, row2Heading + 28, rightWidth, 26));
}

void frmMain2::buildSettingsPage()
{
    QWidget *page = picSettings;
    auto heading = [&](int index, QWidget *parent, const QRect &geometry) {
        lblHeading[index]->setParent(parent);
        lblHeading[index]->setGeometry(geometry);
    };
    auto entry = [&](int headingIndex, QWidget *parent, const QString &name, const QRect &geometry,
                     Qt::Alignment alignment = Qt::AlignLeft) {
        return makeBox(parent, name, spokenHeading(headingIndex), geometry, alignment);
    };

    heading(26, page, QRect(10, 6, 200, 16));
    cmbTemplate = new QComboBox(page);
    cmbTemplate->setObjectName(u"cmbTemplate"_s);
    cmbTemplate->setAccessibleName(spokenHeading(26));
    cmbTemplate->setGeometry(10, 22, 256, 22);
    cmdView = makeButton(page, u"cmdView"_s, u"&View"_s, QRect(272, 21, 72, 24));

    heading(27, page, QRect(360, 6, 200, 16));
    txtLogo = entry(27, page, u"txtLogo"_s, QRect(360, 23, 300, 21));
    cmdLogo = makeButton(page, u"cmdLogo"_s, u"..."_s, QRect(664, 21, 30, 24));
    cmdLogo->setAccessibleName(spokenHeading(27));
    QFont boldButton = cmdLogo->font();
    boldButton.setBold(true);
    cmdLogo->setFont(boldButton);

    heading(16, page, QRect(10, 52, 200, 16));
    txtCompanyName = entry(16, page, u"txtCompanyName"_s, QRect(10, 69, 334, 21));
    heading(17, page, QRect(360, 52, 200, 16));
    txtInvoiceNumber = makeBox(page, u"txtInvoiceNumber"_s, spokenHeading(17), QRect(360, 69, 120, 21),
                               Qt::AlignLeft, BoxKind::Shown);
    cmdInvoiceReset = makeButton(page, u"cmdInvoiceReset"_s, u"Reset"_s, QRect(486, 67, 72, 24));

    Frame1 = new QFrame(page);
    Frame1->setObjectName(u"Frame1"_s);
    Frame1->setFrameShape(QFrame::StyledPanel);
    Frame1->setGeometry(10, 100, 334, 170);
    heading(18, Frame1, QRect(8, 4, 200, 16));
    for (int i = 0; i < AddressLines; ++i) {
        txtCompanyDetails[i] = makeBox(Frame1, arrayName(u"txtCompanyDetails"_s, i),
                                       u"%1 %2"_s.arg(spokenHeading(18)).arg(i + 1),
                                       QRect(8, 22 + i * 24, 318, 21), Qt::AlignLeft);
    }

    Frame3 = new QGroupBox(u"Tax Settings"_s, page);
    Frame3->setObjectName(u"Frame3"_s);
    QFont frameFont = Frame3->font();
    frameFont.setBold(true);
    Frame3->setFont(frameFont);
    Frame3->setGeometry(360, 96, 334, 174);
    chkChargeTax = makeCheck(Frame3, u"chkChargeTax"_s, spokenHeading(19), QRect(10, 24, 18, 20));
    heading(19, Frame3, QRect(32, 26, 200, 16));
    heading(20, Frame3, QRect(10, 56, 90, 16));
    txtTaxName = entry(20, Frame3, u"txtTaxName"_s, QRect(100, 53, 100, 21));
    auto *hint = new QLabel(u"e.g TAX,VAT,GST"_s, Frame3);
    hint->setObjectName(u"Label20"_s);
    QFont regular = hint->font();
    regular.setBold(false);
    hint->setFont(regular);
    hint->setGeometry(208, 56, 120, 16);
    heading(21, Frame3, QRect(10, 86, 90, 16));
    txtTaxValue = entry(21, Frame3, u"txtTaxValue"_s, QRect(100, 83, 70, 21), Qt::AlignRight);
    chkSHTax = makeCheck(Frame3, u"chkSHTax"_s, spokenHeading(22), QRect(10, 116, 18, 20));
    heading(22, Frame3, QRect(32, 112, 290, 32));
    lblHeading[22]->setWordWrap(true);

    for (int i = 0; i < 3; ++i)
        heading(23 + i, page, QRect(10, 284 + i * 28, 110, 16));
    txtTel = entry(23, page, u"txtTel"_s, QRect(120, 281, 224, 21));
    txtFax = entry(24, page, u"txtFax"_s, QRect(120, 309, 224, 21));
    txtCurrency = entry(25, page, u"txtCurrency"_s, QRect(120, 337, 224, 21));
    for (int i = 0; i < FooterLines; ++i) {
        heading(28 + i, page, QRect(360, 284 + i * 28, 90, 16));
        txtFooter[i] = entry(28 + i, page, arrayName(u"txtFooter"_s, i), QRect(450, 281 + i * 28, 244, 21));
    }
}

void frmMain2::buildMenus()
{
    auto menu = [&](const QString &name, const QString &caption) {
        QMenu *m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };
    auto item = [&](QMenu *parent, const QString &name, const QString &caption) {
        QAction *action = parent->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    // The menus open with Alt and their first letters, which no button of
    // either page uses.
    mnuFile = menu(u"mnuFile"_s, u"&File"_s);
    mnuFileExit = item(mnuFile, u"mnuFileExit"_s, u"Exit"_s);
    mnuInvoice = menu(u"mnuInvoice"_s, u"&Invoice"_s);
    mnuInvoiceSale = item(mnuInvoice, u"mnuInvoiceSale"_s, u"Sale"_s);
    mnuInvoiceNew = item(mnuInvoice, u"mnuInvoiceNew"_s, u"New"_s);
    mnuInvoiceViewAll = item(mnuInvoice, u"mnuInvoiceViewAll"_s, u"View All"_s);
    mnuInvoiceRegister = item(mnuInvoice, u"mnuInvoiceRegister"_s, u"Register..."_s);
    connect(mnuInvoiceRegister, &QAction::triggered, this, &frmMain2::mnuInvoiceRegister_Click);
    mnuHelp = menu(u"mnuHelp"_s, u"&Help"_s);
    mnuHelpHelp = item(mnuHelp, u"mnuHelpHelp"_s, u"Help"_s);
    mnuHelpSupport = item(mnuHelp, u"mnuHelpSupport"_s, u"Support"_s);
    mnuHelpAbout = item(mnuHelp, u"mnuHelpAbout"_s, u"About"_s);
}

void frmMain2::buildTabOrder()
{
    QList<QWidget *> order;
    for (QLineEdit *box : txtCustomerDetails)
        order << box;
    for (int i = 0; i < LineCount; ++i)
        order << txtQty[i] << txtDescription[i] << txtUnitPrice[i] << chkTax[i];
    order << txtSurcharge1 << txtDiscount << txtSH << txtSurcharge2 << txtReceived << cmbPaymentMethod
          << cmdPreview << cmdNew;
    order << txtCompanyName << cmdInvoiceReset;
    for (QLineEdit *box : txtCompanyDetails)
        order << box;
    order << chkChargeTax << txtTaxName << txtTaxValue << chkSHTax << txtTel << txtFax << txtCurrency
          << cmbTemplate << cmdView;
    for (QLineEdit *box : txtFooter)
        order << box;
    order << txtLogo << cmdLogo;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    m_tabOrder = order;
}
