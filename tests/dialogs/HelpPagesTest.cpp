// The help pages the Help commands open: every link inside them resolves,
// their diagrams are well-formed, and they keep up with the program (every
// settings key and all 26 openings are described).

#include "board/Point.h"
#include "game/OpeningTable.h"
#include "settings/KvParam.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace korvana {
namespace {

QString helpPage(const char *name)
{
    QFile file(QStringLiteral(KORVANA_TEST_DATA "/../../help/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(file.readAll());
}

QSet<QString> captures(const QString &text, const QString &pattern)
{
    QSet<QString> found;
    for (const QRegularExpressionMatch &m : QRegularExpression(pattern).globalMatch(text))
        found.insert(m.captured(1));
    return found;
}

TEST(HelpPagesTest, LinksResolveAndDiagramsAreWellFormed)
{
    const std::pair<const char *, const char *> pages[] = {{"help_j.html", "editor.html"},
                                                           {"editor.html", "help_j.html"}};
    for (const auto &[name, other] : pages) {
        SCOPED_TRACE(name);
        const QString page = helpPage(name);
        ASSERT_FALSE(page.isEmpty());
        const QSet<QString> ids = captures(page, QStringLiteral("id=\"([^\"]+)\""));
        for (const QString &anchor : captures(page, QStringLiteral("href=\"#([^\"]+)\"")))
            EXPECT_TRUE(ids.contains(anchor)) << "no section #" << anchor.toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("href=\"%1\"").arg(QLatin1String(other))));
        EXPECT_FALSE(page.contains(QStringLiteral("{{"))) << "a placeholder was left";

        int diagrams = 0;
        for (const QRegularExpressionMatch &m :
             QRegularExpression(QStringLiteral("<svg.*?</svg>"), QRegularExpression::DotMatchesEverythingOption)
                 .globalMatch(page)) {
            QXmlStreamReader svg(m.captured(0));
            while (!svg.atEnd())
                svg.readNext();
            EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
            ++diagrams;
        }
        EXPECT_GT(diagrams, 0);
    }
}

TEST(HelpPagesTest, ManualDescribesEverySettingAndEveryOpening)
{
    const QString manual = helpPage("help_j.html");
    KvParam defaults;
    for (const AppRegistry &section : defaults.sections()) {
        EXPECT_TRUE(manual.contains(QStringLiteral("<td>%1</td>").arg(QString::fromStdString(section.name()))) ||
                    manual.contains(QStringLiteral(">%1</td>").arg(QString::fromStdString(section.name()))))
            << section.name();
        for (const AppRegistryKey &key : section.keys())
            EXPECT_TRUE(manual.contains(QStringLiteral("<td>%1</td>").arg(QString::fromStdString(key.name()))))
                << section.name() << "/" << key.name();
    }
    // Index, name and third stone as the program's own table has them.
    for (int i = 0; i < OpeningTable::Count; ++i) {
        const OpeningTable::Opening *opening = OpeningTable::instance().at(i);
        ASSERT_NE(opening, nullptr);
        const QString third = QString::fromStdString(writtenPoint(opening->stones[2].x, opening->stones[2].y));
        const QString row = QStringLiteral("<td>%1</td><td>%2</td><td class=\"mono\">%3</td>")
                                .arg(i)
                                .arg(QLatin1String(opening->name))
                                .arg(third);
        EXPECT_TRUE(manual.contains(row)) << row.toStdString();
    }
}

} // namespace
} // namespace korvana
