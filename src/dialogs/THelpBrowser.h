#pragma once
// THelpBrowser: the program's own help window. The desktop's browser is the
// first choice; where the desktop has none, the page is shown here, with its
// links followed in the window and its images loaded beside it, so help is
// there whenever its page is.

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace korvana {

class THelpBrowser : public QWidget {
    Q_OBJECT
public:
    static constexpr int FormWidth = 720;
    static constexpr int FormHeight = 640;

    /// A hidden, resizable top-level window owned by `parent`.
    explicit THelpBrowser(QWidget *parent = nullptr);

    /// Shows the page of the local file `path` and brings the window forward;
    /// false, showing nothing, when there is no such file.
    bool ShowPage(const QString &path);

    QTextBrowser *browser() const { return browser_; }

private:
    QTextBrowser *browser_;
};

} // namespace korvana
