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
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "calc/calculator_form.h"
#include "calc/calculator_ids.h"
#include "calc/print_analysis.h"
#include "gui/ezgui.h"
#include "gui/registry.h"
#include "gui/test_driver.h"
#include "print/ddoc.h"
#include "stations/storage.h"
#include "stations/tables.h"
#include "tests/support/fixture.h"
#include "tests/support/printed_page.h"

namespace {

constexpr double kTolerance = 0.03;  // inch, for positions
constexpr double kPointsPerInch = 72;

// Height of a line box of Liberation Sans (ascent 0.905 em + descent 0.212 em), in inches.
double lineBoxHeight(double points) { return 1.117 * points / kPointsPerInch; }

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
    driver::TYPE("RI", RI::BUDGET, budget);
    driver::TYPE("RI", RI::ROI, roi);
    driver::TYPE("RI", RI::MARGIN, margin);
    driver::TYPE("RI", RI::AVERAGE_SALE, sale);
    driver::TYPE("RI", RI::CLOSING_RATIO, ratio);
    driver::FOCUS("RI", RI::CUSTOMER);
}

void keepStation(int row, const std::string& name, const std::string& cume) {
    StationCalls[row - 1] = name;
    StationCume[row - 1] = cume;
    SHOWSTATIONS();
}

void tick(int row) { driver::CLICK("RI", RI::TICKBOX(row)); }

// The share of the station's audience that the row shows.
QString share(int row) { return QString::fromStdString(EZ_GETTEXT("RI", RI::SHARELABEL(row))); }

class PrintedAnalysisTest : public CalculatorTest {
protected:
    // The worked example: stations 2 and 5 ticked, station 1 kept but not ticked.
    void fillWorkedExample() {
        keepStation(1, "WXYZ", "50000");
        keepStation(2, "KBEST", "10000");
        keepStation(5, "Z-100", "24500");
        driver::TYPE("RI", RI::CUSTOMER, "Main Street Motors");
        driver::TYPE("RI", RI::SALESREP, "Pat Kelly / WAAA");
        typeFigures("1000", "7", "50", "100", "20");
        driver::TYPE("RI", RI::COMMENTS, "Spring sale schedule, 24 spots a week.");
        tick(2);
        tick(5);
    }

    // Prints what the calculator shows into a new PDF file and returns its path.
    QString printToPdf() {
        const QString pdf = path(QString("page%1.pdf").arg(++printed));
        DD_RENDERTOPDF(pdf.toStdString());
        PRINTROUTINE();
        return pdf;
    }

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
    // The window's labels and their figures, top to bottom, with the unit the page adds.
    struct Row {
        int32_t label, field;
        const char* unit;
    };
    const Row rows[] = {{110, 145, ""}, {115, 150, "%"}, {120, 155, "%"}, {125, 160, ""}, {130, 165, "%"},
                        {195, 345, ""}, {200, 350, ""},  {205, 355, ""},  {210, 215, ""}};
    Box firstLabel, firstValue, previous;
    for (const Row& row : rows) {
        const QString labelText = QString::fromStdString(EZ_GETTEXT("RI", row.label));
        SCOPED_TRACE(labelText.toStdString());
        const Box label = phrase(words, labelText, 0);
        ASSERT_TRUE(label.found);
        const Box value =
            phrase(words, QString::fromStdString(EZ_GETTEXT("RI", row.field)) + row.unit, label.top);
        ASSERT_TRUE(value.found);
        if (!firstLabel.found) {
            firstLabel = label;
            firstValue = value;
        }
        // Below the row before, on its label's line, right of it; labels end and figures start on
        // one edge each.
        EXPECT_GE(label.top, previous.found ? previous.bottom : label.top);
        EXPECT_NEAR(value.top, label.top, kTolerance);
        EXPECT_GT(value.left, label.right);
        EXPECT_NEAR(label.right, firstLabel.right, kTolerance);
        EXPECT_NEAR(value.left, firstValue.left, kTolerance);
        expectSize(label, 14);
        expectSize(value, 14);
        previous = label;
    }
    const Box roi = phrase(words, QString::fromStdString(EZ_GETTEXT("RI", RI::ROI)) + "%", 0);
    const Box market = phrase(words, "(Wall Street average 7%, bank CD's 1.5%)", roi.top);
    ASSERT_TRUE(market.found);
    EXPECT_NEAR(market.top, roi.top, kTolerance);
    EXPECT_GT(market.left, roi.right);
    expectSize(market, 10);
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
    expectAt(words, share(5) + " percent of audience or 1 out of each 229 listeners.", 6.825, Anchor::Left,
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
    const QString image = path("page");
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
    driver::TYPE("RI", RI::CUSTOMER, "Main Street Motors");
    typeFigures("1000", "7", "50", "100", "20");
    driver::TYPE("RI", RI::COMMENTS, "No schedule yet.");
    const auto words = wordsOf(printToPdf());
    expectAt(words, "No schedule yet.", 6.45, Anchor::Left, 1.0);
    EXPECT_FALSE(phrase(words, "Responses needed to achieve ROI target:", 6.2).found);
    for (const Word& word : words) EXPECT_NE(word.text.toStdString(), "KBEST");
}

TEST_F(PrintedAnalysisTest, EmptyCustomerLeavesItsLineEmptyAndTheRestInPlace) {
    driver::TYPE("RI", RI::SALESREP, "Pat Kelly");
    typeFigures("1000", "7", "50", "100", "20");
    const auto words = wordsOf(printToPdf());
    expectAt(words, "Return On Investment Analysis for", 1.0, Anchor::Centre, 4.25);
    expectAt(words, "Prepared by", 1.8, Anchor::Centre, 4.25);
    expectAt(words, "Pat Kelly", 2.1, Anchor::Centre, 4.25);
    for (const Word& word : words) EXPECT_FALSE(word.top > 1.2 && word.top < 1.7) << word.text.toStdString();
}

// The listeners figure is the cume over the exact responses to the nearest listener: on the
// screen, for the screen reader and on the page it agrees with the share on its line; from half
// the audience up it is said in words.
TEST_F(PrintedAnalysisTest, ListenersFigureAgreesWithTheShareOnItsLine) {
    driver::TYPE("RI", RI::CUSTOMER, "Main Street Motors");
    driver::TYPE("RI", RI::SALESREP, "Pat Kelly");
    const QString half = "responses from half or more of WROCK's 10,000 weekly listeners.";
    const struct {
        const char *budget, *ratio, *cume, *every;  // a $100 sale at a 100% margin: budget ÷ 100 sales
        QString words;
    } cases[] = {
        {"167", "100", "8200", "4,910", ""},     // 1.67 responses, not 1 in 4,100
        {"6613", "100", "120500", "1,822", ""},  // not 1,825
        {"2000", "8", "1999", "8", ""},          // 250 responses: 7.996, not 7
        {"1", "100", "8000", "800,000", ""},     // .01 responses
        {"5489", "1", "10000", "", half},
        {"5000", "1", "10000", "", half},
        {"6000", "1", "5000", "", "more responses than WROCK's 5,000 weekly listeners."},
    };
    tick(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.budget);
        keepStation(1, "WROCK", c.cume);
        for (int32_t id = 145; id <= 165; id += 5) EZ_SETTEXT("RI", id, "");
        typeFigures(c.budget, "0", "100", "100", c.ratio);
        const QStringList lines = printedText(path("page.pdf")).split('\n').filter("WROCK");
        ASSERT_EQ(lines.size(), 1);
        const std::string tooltip = driver::TOOLTIP("RI", RI::SHARELABEL(1));
        EXPECT_EQ(gui::findControl("RI", RI::SHARELABEL(1))->accessibleDescription().toStdString(), tooltip);
        if (!c.words.isEmpty()) {
            EXPECT_TRUE(lines[0].contains(share(1) + " percent of audience: " + c.words))
                << lines[0].toStdString();
            EXPECT_EQ(QString::fromStdString(tooltip), "The schedule needs " + c.words);
            EXPECT_GE(share(1).toDouble(), 50);
            continue;
        }
        static const QRegularExpression line(
            R"((\S+) percent of audience or 1 out of each ([\d,]+) listeners\.)");
        const QRegularExpressionMatch m = line.match(lines[0]);
        ASSERT_TRUE(m.hasMatch()) << lines[0].toStdString();
        EXPECT_EQ(m.captured(1), share(1));
        EXPECT_EQ(m.captured(2).toStdString(), c.every);
        EXPECT_EQ(tooltip, "1 response from every " + std::string(c.every) + " listeners.");
        // Some share that the shown one rounds from gives this figure to the nearest listener.
        const double shown = m.captured(1).toDouble(), every = m.captured(2).remove(',').toDouble();
        EXPECT_LE(100 / (every + 0.5), shown + 0.0005);
        EXPECT_GE(100 / (every - 0.5), shown - 0.0005);
    }
}

// Comments too long for the page at 10 points are printed smaller, down to 8 points, with lines
// closer in proportion; beyond that they are cut with "…" and the preview says so.
TEST_F(PrintedAnalysisTest, LongCommentsShrinkAndAreThenCutOnOnePage) {
    QStringList numbered;
    for (int i = 1; i <= 300; ++i) numbered << QString("Word%1").arg(i, 3, 10, QChar('0'));
    driver::TYPE("RI", RI::CUSTOMER, "Main Street Motors");
    EZ_SETTEXT("RI", RI::COMMENTS, numbered.join(' ').toStdString());
    const QString pdf = printToPdf();
    EXPECT_EQ(pageCount(pdf), 1);
    std::vector<Word> comment;
    for (const Word& word : wordsOf(pdf))
        if (word.text.startsWith("Word")) comment.push_back(word);
    // All of it, from its start, no word lost at a line break, in a size below 10 points.
    ASSERT_EQ(comment.size(), 300u);
    for (size_t i = 0; i < comment.size(); ++i) EXPECT_EQ(comment[i].text.toStdString(), numbered[i].toStdString());
    const double height = comment.front().bottom - comment.front().top;
    EXPECT_LT(height, lineBoxHeight(10) - 0.005);
    EXPECT_GT(height, lineBoxHeight(8) - 0.005);
    for (const Word& word : comment) {
        EXPECT_GE(word.left, 1.0 - kTolerance) << word.text.toStdString();
        EXPECT_LE(word.right, 7.5 + kTolerance) << word.text.toStdString();
    }
    EXPECT_LE(comment.back().bottom, 10.5 + kTolerance);
    EXPECT_NEAR(comment.front().top, 6.45, kTolerance);

    // 4 000 characters do not fit even at 8 points: the last line printed ends in "…".
    QString letters;
    while (letters.size() < 4000) letters += "Spring schedule, twenty-four spots a week on the drive-time show. ";
    letters.truncate(4000);
    EZ_SETTEXT("RI", RI::COMMENTS, letters.toStdString());
    const QString cut = printToPdf();
    EXPECT_EQ(pageCount(cut), 1);
    const auto words = wordsOf(cut);
    const auto lines = linesOf(words);
    ASSERT_FALSE(lines.empty());
    const std::vector<Word>& last = lines.rbegin()->second;
    EXPECT_TRUE(last.back().text.endsWith("\u2026")) << last.back().text.toStdString();
    EXPECT_LE(last.back().bottom, 10.5 + kTolerance);
    EXPECT_LE(last.back().right, 7.5 + kTolerance);
    EXPECT_NEAR(last.back().bottom - last.back().top, lineBoxHeight(8), 0.005);
}

TEST_F(PrintedAnalysisTest, LineBreaksInTheCommentsAreKept) {
    EZ_SETTEXT("RI", RI::COMMENTS, "First line\nSecond line\n\nAfter a blank line");
    const auto words = wordsOf(printToPdf());
    expectAt(words, "First line", 6.45, Anchor::Left, 1.0);
    expectAt(words, "Second line", 6.45 + 0.167, Anchor::Left, 1.0);
    expectAt(words, "After a blank line", 6.45 + 3 * 0.167, Anchor::Left, 1.0);
}

// A station name shrinks to fit before 2.55 inches and is then cut with "…"; its figure is not
// overprinted.
TEST_F(PrintedAnalysisTest, LongStationNamesStayClearOfTheirFigures) {
    keepStation(1, "WXYZ-FM SUPERSTATION 1", "10000");
    keepStation(2, std::string(197, '\'') + "\u00e9Z" + "QQQ", "20000");
    keepStation(3, "WAAA", "30000");
    typeFigures("1000", "7", "50", "100", "20");
    tick(1);
    tick(2);
    tick(3);
    const auto words = wordsOf(printToPdf());
    const Box figure = phrase(words, share(1) + " percent of audience", 6.575);
    ASSERT_TRUE(figure.found);
    EXPECT_NEAR(figure.left, 2.6, kTolerance);
    // The 22 characters, smaller, as many as fit before 2.55 and then "…".
    const Box start = phrase(words, "WXYZ-FM", 6.575);
    ASSERT_TRUE(start.found);
    EXPECT_NEAR(start.left, 1.5, kTolerance);
    EXPECT_LT(start.bottom - start.top, lineBoxHeight(12) - 0.005);
    double nameRight = 0;
    for (const Word& word : words)
        if (std::abs(word.top - 6.575) < kTolerance && word.left < 2.55) nameRight = std::max(nameRight, word.right);
    EXPECT_LE(nameRight, 2.55 + 0.01);
    EXPECT_LT(nameRight, figure.left);
    // A name too long for the smallest size ends in "…" before 2.55.
    bool cut = false;
    for (const Word& word : words) {
        if (std::abs(word.top - 6.825) > kTolerance || word.left > 2.55) continue;
        EXPECT_FALSE(word.text.contains('Q')) << word.text.toStdString();
        EXPECT_LE(word.right, 2.55 + 0.01);
        cut = cut || word.text.endsWith("\u2026");
    }
    EXPECT_TRUE(cut);
    expectSize(expectAt(words, "WAAA", 7.075, Anchor::Left, 1.5), 12);
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
    // A page asked for in a folder that does not exist cannot start.
    const QString failed = path("missing/page.pdf");
    DD_RENDERTOPDF(failed.toStdString());
    PRINTROUTINE();
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
    ASSERT_TRUE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
    const QString saved = path("saved.pdf");
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
    driver::CLICK("RI", RI::PRINT_BUTTON);
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

namespace {

// No line of the heading runs off the paper: a long customer or preparer shrinks, down to 10
// points, and is then cut with "…", centred between 0.5 and 8.0 inches.
TEST_F(PrintedAnalysisTest, LongHeadingLinesStayBetweenTheMargins) {
    const std::string customer = "The Greater Metropolitan Area Independent Automobile Dealers Association, Springs";
    ASSERT_EQ(customer.size(), 81u);
    EZ_SETTEXT("RI", RI::CUSTOMER, customer);
    std::string rep = "Patricia Kelly-Montgomery, Senior Account Executive for WAAA-FM, WBBB-AM and the whole";
    rep += " Metropolitan Radio Group, with the Spring Automotive Sales Team of the Greater Area";
    EZ_SETTEXT("RI", RI::SALESREP, rep);
    const auto words = wordsOf(printToPdf());
    std::map<double, bool> cut;
    for (double top : {1.4, 2.1}) {
        double left = 10, right = 0;
        for (const Word& word : words) {
            if (std::abs(word.top - top) > kTolerance) continue;
            left = std::min(left, word.left);
            right = std::max(right, word.right);
            cut[top] = cut[top] || word.text.endsWith("\u2026");
        }
        EXPECT_GE(left, 0.5 - 0.01) << top;
        EXPECT_LE(right, 8.0 + 0.01) << top;
        EXPECT_NEAR((left + right) / 2, 4.25, kTolerance) << top;
    }
    // The 81 characters fit in a smaller size, whole; the preparer's line does not even at 10
    // points and ends in "…".
    const Box name = phrase(words, QString::fromStdString(customer), 1.4);
    ASSERT_TRUE(name.found);
    EXPECT_LT(name.bottom - name.top, lineBoxHeight(24) - 0.01);
    EXPECT_GE(name.bottom - name.top, lineBoxHeight(10) - 0.005);
    EXPECT_FALSE(cut[1.4]);
    EXPECT_TRUE(cut[2.1]);
    EXPECT_TRUE(phrase(words, "Patricia Kelly-Montgomery,", 2.1).found);
}

// A return too wide for its place moves its note right; figures and notes stay in the frame.
TEST_F(PrintedAnalysisTest, NotesMoveRightOfWideFiguresAndEverythingStaysInTheFrame) {
    typeFigures("123456789012345", "150", "50", "100", "20");
    ASSERT_EQ(EZ_GETTEXT("RI", RI::ROI), "150.0");
    const auto words = wordsOf(printToPdf());
    const Box roi = phrase(words, "150.0%", 3.25);
    const Box note = phrase(words, "(Wall Street average 7%, bank CD's 1.5%)", 3.25);
    ASSERT_TRUE(roi.found);
    ASSERT_TRUE(note.found);
    EXPECT_GE(note.left, roi.right + 0.05);
    EXPECT_LE(note.right, 8.0);
    for (const Word& word : words) {
        if (word.top < 2.5 || word.bottom > 5.9) continue;
        EXPECT_LE(word.right, 8.0) << word.text.toStdString();
    }
    // The note after the net return still starts a tenth of an inch after it.
    const Box net = phrase(words, QString::fromStdString(EZ_GETTEXT("RI", RI::NET_RETURN)), 4.75);
    const Box plus = phrase(words, "Your ad investment", 4.75);
    ASSERT_TRUE(net.found);
    ASSERT_TRUE(plus.found);
    EXPECT_NEAR(plus.left, net.right + 0.1, kTolerance);
}

// A ticked row whose station has gone (removed, or a cume of 0) is not printed and does not
// allow "Print"; its tick is kept for when the station comes back.
TEST_F(PrintedAnalysisTest, RowsWithoutAStationAreNeitherPrintedNorAllowPrint) {
    keepStation(1, "WAAA", "10000");
    keepStation(2, "WBBB", "20000");
    driver::TYPE("RI", RI::CUSTOMER, "Main Street Motors");
    driver::TYPE("RI", RI::SALESREP, "Pat Kelly");
    typeFigures("1000", "7", "50", "100", "20");
    tick(2);
    EXPECT_TRUE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
    // The editor removed WBBB: its row is hidden, its tick stays, and nothing ticked is left.
    keepStation(2, "", "0");
    driver::TYPE("RI", RI::COMMENTS, "x");
    EXPECT_FALSE(EZ_ISVISIBLE("RI", RI::TICKBOX(2)));
    EXPECT_EQ(EZ_GETCHECK("RI", RI::TICKBOX(2)), 1);
    EXPECT_FALSE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
    tick(1);
    EXPECT_TRUE(EZ_ISENABLED("RI", RI::PRINT_BUTTON));
    keepStation(2, "WBBB", "0");
    driver::TYPE("RI", RI::COMMENTS, "y");
    const auto words = wordsOf(printToPdf());
    EXPECT_TRUE(phrase(words, "WAAA", 6.575).found);
    EXPECT_FALSE(phrase(words, "WBBB", 6.825).found);
    EXPECT_FALSE(phrase(words, "WBBB", 6.575).found);
}

// The preview tells in its status line that the comments were shortened.
TEST_F(PrintedAnalysisTest, ThePreviewSaysWhenTheCommentsWereShortened) {
    fillWorkedExample();
    QString notice, shortNotice;
    EZ_SETTEXT("RI", RI::COMMENTS, std::string(4000, 'w').insert(0, "Long: "));
    whenModalOpens([](QWidget* modal) { return modal->findChild<QPrintPreviewWidget*>() != nullptr; },
                   [&](QWidget* preview) {
                       auto* status = preview->findChild<QStatusBar*>("notice");
                       notice = status && status->isVisible() ? status->currentMessage() : "";
                       buttonOf(preview, "Close")->click();
                   });
    driver::CLICK("RI", RI::PRINT_BUTTON);
    EXPECT_EQ(notice.toStdString(),
              "The comments were too long for the page: they are printed smaller and shortened at the end.");
    EZ_SETTEXT("RI", RI::COMMENTS, "Short.");
    whenModalOpens([](QWidget* modal) { return modal->findChild<QPrintPreviewWidget*>() != nullptr; },
                   [&](QWidget* preview) {
                       auto* status = preview->findChild<QStatusBar*>("notice");
                       shortNotice = status && status->isVisible() ? status->currentMessage() : "none";
                       buttonOf(preview, "Close")->click();
                   });
    driver::CLICK("RI", RI::PRINT_BUTTON);
    EXPECT_EQ(shortNotice.toStdString(), "none");
}

}  // namespace
