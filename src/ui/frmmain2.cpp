// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmmain2.h"

#include "platform/platform.h"
#include "ui/accessibility.h"
#include "ui/clicklabel.h"
#include "ui/keyboardguard.h"

#include <QAction>
#include <QFrame>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTabBar>

using settings::clsSettings;

using platform::Platform;

using invoice::clsTotals;

namespace ui {

using namespace Qt::StringLiterals;

namespace {

constexpr int ClientWidth = 713;
constexpr int ClientHeight = 482;

} // namespace

frmMain2::frmMain2(Platform &platform, clsSettings &settings, QWidget *parent)
    : QMainWindow(parent), m_platform(platform), m_settings(settings)
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
    // Its keys and the mouse wheel over it are the window's (eventFilter).
    tab1->installEventFilter(this);

    auto *panel = new QFrame(client);
    panel->setObjectName(u"tabPanel"_s);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(2, 27, ClientWidth - 4, ClientHeight - 29);

    const QRect pageArea(pagePosition(), QSize(pagecontrols::PageWidth, pagecontrols::PageHeight));
    m_invoicePage = new InvoicePage(m_platform.messages, m_settings, client);
    m_invoicePage->setGeometry(pageArea);
    m_settingsPage = new SettingsPage(m_platform, m_settings, client);
    m_settingsPage->setGeometry(pageArea);
    m_settingsPage->hide();
    // The pages' controls, under the names the program reaches them by.
    picInvoice = m_invoicePage;
    picSettings = m_settingsPage;
    InvoicePageControls::operator=(*m_invoicePage);
    SettingsPageControls::operator=(*m_settingsPage);
    for (int i = 0; i < HeadingCount; ++i)
        lblHeading[i] = m_invoicePage->heading(i) ? m_invoicePage->heading(i) : m_settingsPage->heading(i);

    buildMenus();
    buildTabOrder();

    connectPages();
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
    // One chain through both pages; the hidden page's stops are passed over.
    const QList<QWidget *> order = m_invoicePage->tabStops() + m_settingsPage->tabStops();
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    m_tabOrder = order;
}

void frmMain2::connectPages()
{
    // The Settings page's tax controls shape the Invoice page: an edit of
    // the name or rate rewrites the heading ("+TAX@5%"); switching Charge
    // Tax also sets the line tax boxes, the heading without its plus sign
    // until the next edit ("TAX@5%").
    connect(m_settingsPage, &SettingsPage::taxEdited, m_invoicePage, [this] { m_invoicePage->ShowTaxHeading(u"+"_s); });
    connect(m_settingsPage, &SettingsPage::taxChargeSwitched, m_invoicePage,
            [this] { m_invoicePage->ShowTaxCharge(QString()); });
    connect(m_settingsPage, &SettingsPage::totalsAffected, m_invoicePage, &InvoicePage::RefreshTotals);
}

void frmMain2::bindTotals(clsTotals *totals)
{
    m_totals = totals;
    m_invoicePage->bindTotals(totals);
}

} // namespace ui
