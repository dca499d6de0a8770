#include "dialogs/TPagesDlg.h"

#include "game/KvFlags.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>

namespace korvana {

namespace {

/// The radio buttons from top to bottom: caption, object name and the mode it sets.
struct ModeButton {
    const char *caption;
    const char *name;
    int mode;
};
constexpr ModeButton ModeButtons[] = {
    {"No Display", "RB_NoDisplay", 0}, {"Sum", "RB_Sum", 1},     {"Turn", "RB_Turn", 4},
    {"Black", "RB_Black", 2},          {"White", "RB_White", 3},
};

} // namespace

TPagesDlg::TPagesDlg(KvFlags &flags, QWidget *mainWindow) : QDialog(mainWindow), flags_(flags), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("PagesDlg"));
    setWindowTitle(QStringLiteral("Information Window"));
    setModal(false);
    setFixedSize(ClientWidth, ClientHeight);

    auto *pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->setGeometry(5, 5, 250, 168);
    auto *page1 = new QWidget;
    page1->setObjectName(QStringLiteral("Page1"));
    pages->addTab(page1, QStringLiteral("Page1"));
    for (const char *name : {"Page2", "Page3"}) {
        auto *page = new QWidget;
        page->setObjectName(QLatin1String(name));
        pages->addTab(page, QLatin1String(name));
    }

    auto *region = new QGroupBox(QStringLiteral("Effective Region"), page1);
    region->setObjectName(QStringLiteral("GB_EffectiveRegion"));
    region->setGeometry(6, 4, 110, 128);
    int y = 18;
    for (const ModeButton &b : ModeButtons) {
        auto *radio = new QRadioButton(QLatin1String(b.caption), region);
        radio->setObjectName(QLatin1String(b.name));
        radio->setGeometry(8, y, 98, 20);
        y += 21;
        modes_[b.mode] = radio;
        radio->setChecked(b.mode == 0); // before the connection: making the window asks nothing
        const int mode = b.mode;
        // toggled(true) only: the button losing its check must not send a second request.
        connect(radio, &QRadioButton::toggled, this, [this, mode](bool on) {
            if (on)
                setMode(mode);
        });
    }

    auto *treeView = new QGroupBox(QStringLiteral("Tree View"), page1);
    treeView->setObjectName(QStringLiteral("GB_TreeView"));
    treeView->setGeometry(124, 4, 110, 50);
    viewTree_ = new QCheckBox(QStringLiteral("View Tree"), treeView);
    viewTree_->setObjectName(QStringLiteral("CB_ViewTree"));
    viewTree_->setGeometry(8, 20, 98, 20);
    connect(viewTree_, &QCheckBox::toggled, this, &TPagesDlg::setTreeMarks);

    auto *update = new QPushButton(QStringLiteral("&Update"), this);
    update->setObjectName(QStringLiteral("Update"));
    update->setGeometry(5, 180, 78, 25);
    update->setDefault(true);
    auto *close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("Close"));
    close->setGeometry(91, 180, 78, 25);
    auto *help = new QPushButton(QStringLiteral("&Help"), this);
    help->setObjectName(QStringLiteral("Help"));
    help->setGeometry(177, 180, 78, 25);

    connect(update, &QPushButton::clicked, this, &TPagesDlg::requestRepaint);
    // Hidden, not destroyed: reopening finds the choices as they were left.
    connect(close, &QPushButton::clicked, this, &TPagesDlg::reject);
}

QRadioButton *TPagesDlg::modeButton(int mode) const { return mode >= 0 && mode < 5 ? modes_[mode] : nullptr; }

void TPagesDlg::ShowWindow()
{
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
    show();
    raise();
    activateWindow();
}

void TPagesDlg::showEvent(QShowEvent *event)
{
    if (QRadioButton *radio = modeButton(flags_.overlayMode)) {
        const QSignalBlocker block(radio);
        radio->setChecked(true); // autoExclusive clears the others without their signals mattering
    }
    {
        const QSignalBlocker block(viewTree_);
        viewTree_->setChecked(flags_.treeMarks);
    }
    QDialog::showEvent(event);
}

void TPagesDlg::setMode(int mode)
{
    flags_.overlayMode = mode;
    requestRepaint();
}

void TPagesDlg::setTreeMarks(bool on)
{
    flags_.treeMarks = on;
    requestRepaint();
}

void TPagesDlg::requestRepaint()
{
    if (mainWindow_) {
        QEvent request(RepaintRequest);
        QCoreApplication::sendEvent(mainWindow_, &request);
    }
    emit repaintRequested();
}

} // namespace korvana
