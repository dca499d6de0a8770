#include "dialogs/THelpBrowser.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace korvana {

THelpBrowser::THelpBrowser(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpBrowser"));
    setWindowTitle(QStringLiteral("Korvana Help"));
    resize(FormWidth, FormHeight);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpText"));
    // Pages beside the help file open here; the web goes to whatever the desktop has.
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Korvana Help") : title);
    });
    hide();
}

bool THelpBrowser::ShowPage(const QString &path)
{
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return false;
    // A file URL, so relative links and images resolve against the page's folder.
    browser_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    show();
    raise();
    activateWindow();
    return true;
}

} // namespace korvana
