// The printed analysis: the calculator's "Print" page rendered into a PDF file through the print
// library's own drawing, read back with poppler's tools and measured in inches.
//
// A text's y on the page is the top of its line box (ascent above the baseline). poppler reports
// a word's yMin at that same place and its yMax at the bottom of the line box, so every y of the
// layout is checked against the top of the word, and a font's size against the box's height.
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "calc/print_analysis.h"
#include "gui/ezgui.h"
#include "gui/test_driver.h"
#include "print/ddoc.h"
#include "stations/storage.h"
#include "stations/tables.h"
#include "tests/support/fixture.h"

namespace {

constexpr double kTolerance = 0.03;  // inch, for positions
constexpr double kPointsPerInch = 72;

// Height of a line box of Liberation Sans (ascent 0.905 em + descent 0.212 em), in inches.
double lineBoxHeight(double points) { return 1.117 * points / kPointsPerInch; }

QString runTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(-1);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A word as poppler finds it on the page, in inches from the top-left corner.
struct Word {
    QString text;
    double left, top, right, bottom;
};

QString unescape(QString text) {
    return text.replace("&lt;", "<")
        .replace("&gt;", ">")
        .replace("&quot;", "\"")
        .replace("&apos;", "'")
        .replace("&amp;", "&");
}

std::vector<Word> wordsOf(const QString& pdf) {
    static const QRegularExpression pattern(
        R"re(<word xMin="(-?[\d.]+)" yMin="(-?[\d.]+)" xMax="(-?[\d.]+)" yMax="(-?[\d.]+)">(.*?)</word>)re");
    std::vector<Word> words;
    auto matches = pattern.globalMatch(runTool("pdftotext", {"-bbox", pdf, "-"}));
    while (matches.hasNext()) {
        const QRegularExpressionMatch m = matches.next();
        words.push_back({unescape(m.captured(5)), m.captured(1).toDouble() / kPointsPerInch,
                         m.captured(2).toDouble() / kPointsPerInch, m.captured(3).toDouble() / kPointsPerInch,
                         m.captured(4).toDouble() / kPointsPerInch});
    }
    return words;
}

// The box around the words of a phrase.
struct Box {
    bool found = false;
    double left = 0, top = 0, right = 0, bottom = 0;
    double middle() const { return (left + right) / 2; }
};

// The phrase where it stands on the page nearest to the given top.
Box phrase(const std::vector<Word>& words, const QString& text, double top) {
    const QStringList parts = text.split(' ', Qt::SkipEmptyParts);
    const size_t n = parts.size();
    Box best;
    for (size_t i = 0; i + n <= words.size(); ++i) {
        bool same = true;
        for (size_t j = 0; j < n && same; ++j) same = words[i + j].text == parts[j];
        if (!same) continue;
        Box box{true, words[i].left, words[i].top, words[i + n - 1].right, words[i].bottom};
        if (!best.found || std::abs(box.top - top) < std::abs(best.top - top)) best = box;
    }
    return best;
}

enum class Anchor { Left, Centre, Right };

// Expects the phrase with its top at y and its left end, middle or right end at x.
Box expectAt(const std::vector<Word>& words, const QString& text, double y, Anchor anchor, double x) {
    SCOPED_TRACE(text.toStdString());
    const Box box = phrase(words, text, y);
    EXPECT_TRUE(box.found);
    EXPECT_NEAR(box.top, y, kTolerance);
    const double placed = anchor == Anchor::Left    ? box.left
                          : anchor == Anchor::Right ? box.right
                                                    : box.middle();
    EXPECT_NEAR(placed, x, kTolerance);
    return box;
}

void expectSize(const Box& box, double points) {
    EXPECT_NEAR(box.bottom - box.top, lineBoxHeight(points), 0.005) << points << " pt";
}

// The words grouped into lines by their tops, top to bottom.
std::map<long, std::vector<Word>> linesOf(const std::vector<Word>& words) {
    std::map<long, std::vector<Word>> lines;
    for (const Word& word : words) lines[std::lround(word.top * 1000)].push_back(word);
    return lines;
}

int pageCount(const QString& pdf) {
    static const QRegularExpression pages(R"(Pages:\s+(\d+))");
    return pages.match(runTool("pdfinfo", {pdf})).captured(1).toInt();
}

// Acts on the first modal window that is what the test waits for, once it is open. A window
// that never opens is given up after a while, so the test fails instead of waiting for ever.
void whenModalOpens(std::function<bool(QWidget*)> wanted, std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    auto polls = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool ready = modal && modal->isVisible() && wanted(modal);
        if (!ready && ++*polls < 1000) return;
        timer->stop();
        timer->deleteLater();
        if (ready) action(modal);
    });
    timer->start(10);
}

QPushButton* buttonOf(QWidget* window, const QString& caption) {
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (button->text() == caption) return button;
    return nullptr;
}

void typeFigures(const char* budget, const char* roi, const char* margin, const char* sale,
                 const char* ratio) {
    driver::TYPE("RI", 145, budget);
    driver::TYPE("RI", 150, roi);
    driver::TYPE("RI", 155, margin);
    driver::TYPE("RI", 160, sale);
    driver::TYPE("RI", 165, ratio);
    driver::FOCUS("RI", 135);
}

void keepStation(int row, const std::string& name, const std::string& cume) {
    StationCalls[row - 1] = name;
    StationCume[row - 1] = cume;
    SHOWSTATIONS();
}

void tick(int row) { driver::CLICK("RI", 225 + 10 * (row - 1)); }

// The share of the station's audience that the row shows.
QString share(int row) { return QString::fromStdString(EZ_GETTEXT("RI", 230 + 10 * (row - 1))); }

class PrintedAnalysisTest : public CalculatorTest {
protected:
    void TearDown() override {
        DD_RENDERTOPDF("");
        CalculatorTest::TearDown();
    }

    // The worked example: stations 2 and 5 ticked, station 1 kept but not ticked.
    void fillWorkedExample() {
        keepStation(1, "WXYZ", "50000");
        keepStation(2, "KBEST", "10000");
        keepStation(5, "Z-100", "24500");
        driver::TYPE("RI", 135, "Main Street Motors");
        driver::TYPE("RI", 140, "Pat Kelly / WAAA");
        typeFigures("1000", "7", "50", "100", "20");
        driver::TYPE("RI", 310, "Spring sale schedule, 24 spots a week.");
        tick(2);
        tick(5);
    }

    // Prints what the calculator shows into a new PDF file and returns its path.
    QString printToPdf() {
        const QString path = folder.filePath(QString("page%1.pdf").arg(++printed));
        DD_RENDERTOPDF(path.toStdString());
        PRINTROUTINE();
        return path;
    }

    QTemporaryDir folder;
    int printed = 0;
};

TEST_F(PrintedAnalysisTest, HeadingIsCentredInArialSubstitutedByLiberationSans) {
    fillWorkedExample();
    const QString pdf = printToPdf();
    const auto words = wordsOf(pdf);
    expectSize(expectAt(words, "Return On Investment Analysis for", 1.0, Anchor::Centre, 4.25), 14);
    expectSize(expectAt(words, "Main Street Motors", 1.4, Anchor::Centre, 4.25), 24);
    expectSize(expectAt(words, "Prepared by", 1.8, Anchor::Centre, 4.25), 12);
    expectSize(expectAt(words, "Pat Kelly / WAAA", 2.1, Anchor::Centre, 4.25), 14);
    // Bold for the three heading lines, regular for the rest, both of the one face.
    const QString fonts = runTool("pdffonts", {pdf});
    EXPECT_TRUE(
        fonts.contains(QRegularExpression("^LiberationSans-Bold ", QRegularExpression::MultilineOption)));
    EXPECT_TRUE(fonts.contains(QRegularExpression("^LiberationSans ", QRegularExpression::MultilineOption)));
    EXPECT_EQ(fonts.count("Liberation"), 2) << fonts.toStdString();
    EXPECT_EQ(pageCount(pdf), 1);
}

TEST_F(PrintedAnalysisTest, FiguresStandBesideTheirLabelsAsTheWindowShowsThem) {
    fillWorkedExample();
    const auto words = wordsOf(printToPdf());
    struct Row {
        double y;
        int32_t label, field;
        const char* unit;
    };
    const Row rows[] = {{3.0, 110, 145, ""},  {3.25, 115, 150, "%"}, {3.5, 120, 155, "%"},
                        {3.75, 125, 160, ""}, {4.0, 130, 165, "%"},  {4.75, 195, 345, ""},
                        {5.0, 200, 350, ""},  {5.25, 205, 355, ""},  {5.5, 210, 215, ""}};
    for (const Row& row : rows) {
        const QString label = QString::fromStdString(EZ_GETTEXT("RI", row.label));
        const QString value = QString::fromStdString(EZ_GETTEXT("RI", row.field)) + row.unit;
        expectSize(expectAt(words, label, row.y, Anchor::Right, 3.75), 14);
        expectSize(expectAt(words, value, row.y, Anchor::Left, 3.9), 14);
    }
    expectSize(expectAt(words, "(Wall Street average 7%, bank CD's 1.5%)", 3.25, Anchor::Left, 4.5), 10);
    // Each note starts a tenth of an inch after the end of its value.
    const Box net = phrase(words, "$1,070.00", 4.75);
    const Box gross = phrase(words, "$2,140.00", 5.0);
    ASSERT_TRUE(net.found && gross.found);
    expectSize(expectAt(words, "Your ad investment plus a 7.0% return.", 4.75, Anchor::Left, net.right + 0.1),
               10);
    expectSize(
        expectAt(words, "Total sales this schedule must produce.", 5.0, Anchor::Left, gross.right + 0.1), 10);
}

TEST_F(PrintedAnalysisTest, TickedStationsFollowTheirHeadingThenTheComments) {
    fillWorkedExample();
    const auto words = wordsOf(printToPdf());
    expectSize(expectAt(words, "Responses needed to achieve ROI target:", 6.2, Anchor::Centre, 4.25), 12);
    expectSize(expectAt(words, "KBEST", 6.575, Anchor::Left, 1.5), 12);
    expectAt(words, share(2) + " percent of audience or 1 out of each 93 listeners.", 6.575, Anchor::Left,
             2.6);
    expectAt(words, "Z-100", 6.825, Anchor::Left, 1.5);
    expectAt(words, share(5) + " percent of audience or 1 out of each 228 listeners.", 6.825, Anchor::Left,
             2.6);
    expectSize(expectAt(words, "Spring sale schedule, 24 spots a week.", 7.325, Anchor::Left, 1.0), 10);
    // Station 1 has a cume but is not ticked; station 2 is printed once.
    for (const Word& word : words) {
        EXPECT_NE(word.text.toStdString(), "WXYZ");
        if (word.text == "KBEST") {
            EXPECT_NEAR(word.top, 6.575, kTolerance);
        }
    }
}

// The frame is found on a 100 dpi rendering of the page: each edge is the darkest line of
// pixels near where it belongs, and its dark run gives its extent.
TEST_F(PrintedAnalysisTest, FrameSurroundsTheFigures) {
    fillWorkedExample();
    const QString pdf = printToPdf();
    const QString image = folder.filePath("page");
    runTool("pdftoppm", {"-r", "100", "-gray", "-singlefile", pdf, image});
    const QImage page(image + ".pgm");
    ASSERT_EQ(page.size(), QSize(850, 1100));
    const auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 160; };
    // The darkest row or column within 10 pixels of where an edge belongs, with its dark run.
    const auto edge = [&](bool horizontal, double at, double& from, double& to) {
        int best = -1, bestCount = -1;
        for (int line = std::lround(at * 100) - 10; line <= std::lround(at * 100) + 10; ++line) {
            int count = 0;
            for (int along = 0; along < (horizontal ? 850 : 1100); ++along)
                count += horizontal ? dark(along, line) : dark(line, along);
            if (count > bestCount) {
                best = line;
                bestCount = count;
            }
        }
        int first = -1, last = -1;
        for (int along = 0; along < (horizontal ? 850 : 1100); ++along)
            if (horizontal ? dark(along, best) : dark(best, along)) {
                if (first < 0) first = along;
                last = along;
            }
        from = first / 100.0;
        to = (last + 1) / 100.0;
        return (best + 0.5) / 100.0;
    };
    double from = 0, to = 0;
    EXPECT_NEAR(edge(true, 2.5, from, to), 2.5, kTolerance);
    EXPECT_NEAR(from, 0.5, kTolerance);
    EXPECT_NEAR(to, 8.0, kTolerance);
    EXPECT_NEAR(edge(true, 5.9, from, to), 5.9, kTolerance);
    EXPECT_NEAR(from, 0.5, kTolerance);
    EXPECT_NEAR(to, 8.0, kTolerance);
    EXPECT_NEAR(edge(false, 0.5, from, to), 0.5, kTolerance);
    EXPECT_NEAR(from, 2.5, kTolerance);
    EXPECT_NEAR(to, 5.9, kTolerance);
    EXPECT_NEAR(edge(false, 8.0, from, to), 8.0, kTolerance);
    EXPECT_NEAR(from, 2.5, kTolerance);
    EXPECT_NEAR(to, 5.9, kTolerance);
}

TEST_F(PrintedAnalysisTest, WithoutATickedStationTheCommentsMoveUp) {
    keepStation(2, "KBEST", "10000");
    driver::TYPE("RI", 135, "Main Street Motors");
    typeFigures("1000", "7", "50", "100", "20");
    driver::TYPE("RI", 310, "No schedule yet.");
    const auto words = wordsOf(printToPdf());
    expectAt(words, "No schedule yet.", 6.45, Anchor::Left, 1.0);
    EXPECT_FALSE(phrase(words, "Responses needed to achieve ROI target:", 6.2).found);
    for (const Word& word : words) EXPECT_NE(word.text.toStdString(), "KBEST");
}

TEST_F(PrintedAnalysisTest, EmptyCustomerLeavesItsLineEmptyAndTheRestInPlace) {
    driver::TYPE("RI", 140, "Pat Kelly");
    typeFigures("1000", "7", "50", "100", "20");
    const auto words = wordsOf(printToPdf());
    expectAt(words, "Return On Investment Analysis for", 1.0, Anchor::Centre, 4.25);
    expectAt(words, "Prepared by", 1.8, Anchor::Centre, 4.25);
    expectAt(words, "Pat Kelly", 2.1, Anchor::Centre, 4.25);
    for (const Word& word : words) EXPECT_FALSE(word.top > 1.2 && word.top < 1.7) << word.text.toStdString();
}

TEST_F(PrintedAnalysisTest, ListenersFigureIsTheRoundedCumeOverTheResponsesTruncated) {
    keepStation(3, "WLOW", "12000");
    keepStation(4, "WTOP", "1999");
    // 1000 at no return, a $50 profit on each $100 sale: 20 sales at 8% closing, 250 responses.
    typeFigures("1000", "0", "50", "100", "8");
    ASSERT_EQ(EZ_GETTEXT("RI", 215), "250.0");
    tick(3);
    tick(4);
    const auto words = wordsOf(printToPdf());
    expectAt(words, share(3) + " percent of audience or 1 out of each 48 listeners.", 6.575, Anchor::Left,
             2.6);
    expectAt(words, share(4) + " percent of audience or 1 out of each 7 listeners.", 6.825, Anchor::Left,
             2.6);
}

TEST_F(PrintedAnalysisTest, NoWholeResponsePrintsZeroListenersAndFinishesThePage) {
    keepStation(1, "WAAA", "10000");
    typeFigures("1000", "7", "50", "100", "0");
    ASSERT_EQ(EZ_GETTEXT("RI", 215), "0");
    tick(1);
    driver::TYPE("RI", 310, "Closing ratio to follow.");
    const QString pdf = printToPdf();
    const auto words = wordsOf(pdf);
    // The share is empty: the line starts with the blank before "percent".
    ASSERT_TRUE(share(1).isEmpty());
    const Box line = phrase(words, "percent of audience or 1 out of each 0 listeners.", 6.575);
    EXPECT_NEAR(line.top, 6.575, kTolerance);
    EXPECT_GT(line.left, 2.6);
    EXPECT_LT(line.left, 2.7);
    expectAt(words, "Closing ratio to follow.", 7.075, Anchor::Left, 1.0);
    EXPECT_EQ(pageCount(pdf), 1);
}

TEST_F(PrintedAnalysisTest, LongCommentsWrapInsideTheBoxAndStopAtItsBottom) {
    QStringList numbered;
    for (int i = 1; i <= 400; ++i) numbered << QString("Word%1").arg(i, 3, 10, QChar('0'));
    driver::TYPE("RI", 135, "Main Street Motors");
    EZ_SETTEXT("RI", 310, numbered.join(' ').toStdString());
    const QString pdf = printToPdf();
    EXPECT_EQ(pageCount(pdf), 1);

    std::vector<Word> comment;
    for (const Word& word : wordsOf(pdf))
        if (word.text.startsWith("Word")) comment.push_back(word);
    // What is printed is the text from its start, no word lost at a line break.
    ASSERT_GT(comment.size(), 100u);
    ASSERT_LT(comment.size(), 400u);
    for (size_t i = 0; i < comment.size(); ++i)
        EXPECT_EQ(comment[i].text.toStdString(), numbered[i].toStdString());
    for (const Word& word : comment) {
        EXPECT_GE(word.left, 1.0 - kTolerance) << word.text.toStdString();
        EXPECT_LE(word.right, 7.5 + kTolerance) << word.text.toStdString();
    }
    // Lines every 0.167 inch from 6.45, as many as end above 10.5.
    const auto lines = linesOf(comment);
    const int fit = static_cast<int>((10.5 - 6.45) / 0.167);
    EXPECT_EQ(static_cast<int>(lines.size()), fit);
    int index = 0;
    for (const auto& [top, line] : lines) {
        EXPECT_NEAR(line.front().top, 6.45 + 0.167 * index, kTolerance);
        EXPECT_NEAR(line.front().left, 1.0, kTolerance);
        EXPECT_GT(line.back().right, 6.5) << "line " << index << " is filled";
        ++index;
    }
    EXPECT_LE(comment.back().bottom, 10.5);
}

TEST_F(PrintedAnalysisTest, LineBreaksInTheCommentsAreKept) {
    EZ_SETTEXT("RI", 310, "First line\nSecond line\n\nAfter a blank line");
    const auto words = wordsOf(printToPdf());
    expectAt(words, "First line", 6.45, Anchor::Left, 1.0);
    expectAt(words, "Second line", 6.45 + 0.167, Anchor::Left, 1.0);
    expectAt(words, "After a blank line", 6.45 + 3 * 0.167, Anchor::Left, 1.0);
}

TEST_F(PrintedAnalysisTest, StationNamesAreCutTo199Characters) {
    // 197 narrow quotes, then the 198th and 199th characters, then three that are cut off; the
    // two-byte "é" makes a cut counted in bytes lose the "Z".
    keepStation(1, std::string(197, '\'') + "\u00e9Z" + "QQQ", "10000");
    typeFigures("1000", "7", "50", "100", "20");
    tick(1);
    const auto words = wordsOf(printToPdf());
    bool ends = false;
    for (const Word& word : words) {
        EXPECT_FALSE(word.text.contains('Q')) << word.text.toStdString();
        ends = ends || word.text.endsWith("\u00e9Z");
    }
    EXPECT_TRUE(ends);
}

TEST_F(PrintedAnalysisTest, FailedStartShowsThePrintEngineErrorAndPrintsNothing) {
    fillWorkedExample();
    QString caption, text, over;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    whenModalOpens([](QWidget* modal) { return qobject_cast<QMessageBox*>(modal) != nullptr; },
                   [&](QWidget* modal) {
                       auto* box = qobject_cast<QMessageBox*>(modal);
                       caption = box->windowTitle();
                       text = box->text();
                       icon = box->icon();
                       for (QAbstractButton* button : box->buttons()) buttons << button->text();
                       if (box->parentWidget()) over = box->parentWidget()->window()->windowTitle();
                       box->buttons().value(0)->click();
                   });
    DD_FAILNEXTSTART();
    const QString failed = printToPdf();
    EXPECT_EQ(caption.toStdString(), "Print Engine Error");
    EXPECT_EQ(text.toStdString(), "Unable to initialize document.");
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons.join('|').toStdString(), "OK");
    EXPECT_EQ(over.toStdString(), "Tarvex");
    EXPECT_FALSE(QFile::exists(failed));
    // Only that one start failed.
    EXPECT_EQ(pageCount(printToPdf()), 1);
}

TEST_F(PrintedAnalysisTest, PrintButtonOpensThePreviewThatSavesTheSamePage) {
    fillWorkedExample();
    ASSERT_TRUE(EZ_ISENABLED("RI", 315));
    const QString saved = folder.filePath("saved.pdf");
    QString title, suggested;
    int pages = 0;
    whenModalOpens([](QWidget* modal) { return modal->findChild<QPrintPreviewWidget*>() != nullptr; },
                   [&](QWidget* preview) {
                       title = preview->windowTitle();
                       pages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
                       whenModalOpens(
                           [](QWidget* modal) { return qobject_cast<QFileDialog*>(modal) != nullptr; },
                           [&](QWidget* modal) {
                               // The name offered is in the file name box; the user types over it.
                               auto* dialog = qobject_cast<QFileDialog*>(modal);
                               auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                               if (!name) {
                                   dialog->reject();
                                   return;
                               }
                               suggested = name->text();
                               name->setText(saved);
                               static_cast<QDialog*>(dialog)->accept();
                           });
                       buttonOf(preview, "Save as PDF...")->click();
                       buttonOf(preview, "Close")->click();
                   });
    driver::CLICK("RI", 315);
    EXPECT_EQ(title.toStdString(), "Print Preview \u2014 Return On Investment Calculator");
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(suggested.toStdString(), "Main Street Motors.pdf");
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_TRUE(runTool("pdfinfo", {saved}).contains(QRegularExpression(R"(Title:\s+Main Street Motors\n)")));

    const auto fromPreview = wordsOf(saved);
    const auto direct = wordsOf(printToPdf());
    ASSERT_EQ(fromPreview.size(), direct.size());
    for (size_t i = 0; i < direct.size(); ++i) {
        EXPECT_EQ(fromPreview[i].text.toStdString(), direct[i].text.toStdString());
        EXPECT_NEAR(fromPreview[i].left, direct[i].left, 0.001);
        EXPECT_NEAR(fromPreview[i].top, direct[i].top, 0.001);
    }
}

}  // namespace
