// The list control: rows of texts in columns, sorted by a click on a heading, fetched from the
// program's source a page at a time as they come into view, so that a list of a hundred thousand
// rows opens and narrows at once. The selection is kept by the rows' keys through a new source or
// a new sort.
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <climits>
#include <map>

#include "gui/registry.h"

namespace gui {
namespace {

constexpr int64_t kPageRows = 128;
// The pages kept: those on the screen and about as many around them.
constexpr size_t kKeptPages = 64;
// The most rows fetched at once to learn the keys of a selection.
constexpr int64_t kKeyRows = 100000;

// The source's rows by place, fetched a page at a time when the view asks for them.
class SourceModel : public QAbstractTableModel {
public:
    std::vector<std::string> headings;
    EZ_LISTSOURCE source;
    int sortColumn = -1;  // -1: in the source's order
    Qt::SortOrder sortOrder = Qt::AscendingOrder;

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() || !source.fetch ? 0 : static_cast<int>(std::clamp<int64_t>(source.count, 0, INT_MAX));
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(headings.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        const EZ_LISTROWS& rows = page(index.row() / kPageRows);
        const auto at = static_cast<size_t>(index.row() % kPageRows), column = static_cast<size_t>(index.column());
        if (at >= rows.cells.size() || column >= rows.cells[at].size()) return QString();
        return QString::fromStdString(rows.cells[at][column]);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        return QString::fromStdString(headings[static_cast<size_t>(section)]);
    }

    // The keys of the rows from place first to last: from the pages kept when it has them all,
    // else fetched at once.
    std::vector<int64_t> keys(int64_t first, int64_t last) const {
        bool kept = true;
        for (int64_t number = first / kPageRows; number <= last / kPageRows && kept; ++number)
            kept = pages.contains(number);
        std::vector<int64_t> found;
        for (int64_t at = first; kept && at <= last; ++at) {
            const EZ_LISTROWS& rows = page(at / kPageRows);
            if (static_cast<size_t>(at % kPageRows) < rows.keys.size()) found.push_back(rows.keys[at % kPageRows]);
        }
        for (int64_t from = first; !kept && from <= last; from += kKeyRows) {
            const std::vector<int64_t> some = fetch(from, std::min(last + 1 - from, kKeyRows)).keys;
            found.insert(found.end(), some.begin(), some.end());
        }
        return found;
    }

    std::vector<int64_t> places(const std::vector<int64_t>& keys) const {
        std::vector<int64_t> at = keys.empty() || !source.places ? std::vector<int64_t>(keys.size(), -1)
                                                                 : source.places(keys, sortColumn, ascending());
        at.resize(keys.size(), -1);
        for (int64_t& place : at)
            if (place >= rowCount({})) place = -1;
        return at;
    }

    // Starts over with what change sets: every page is fetched again.
    template <class Change>
    void reset(Change change) {
        beginResetModel();
        change();
        pages.clear();
        endResetModel();
    }

private:
    mutable std::map<int64_t, EZ_LISTROWS> pages;

    bool ascending() const { return sortOrder == Qt::AscendingOrder; }

    EZ_LISTROWS fetch(int64_t first, int64_t count) const {
        EZ_LISTROWS rows = source.fetch(first, count, sortColumn, ascending());
        rows.cells.resize(rows.keys.size());
        return rows;
    }

    const EZ_LISTROWS& page(int64_t number) const {
        auto found = pages.find(number);
        if (found != pages.end()) return found->second;
        if (pages.size() >= kKeptPages) pages.clear();
        return pages[number] = fetch(number * kPageRows, kPageRows);
    }
};

class ListView : public QTableView {
public:
    ListView(const std::string& form, int32_t id, QWidget* parent)
        : QTableView(parent), form_(form), id_(id) {
        setModel(&model);
        setSelectionBehavior(SelectRows);
        setEditTriggers(NoEditTriggers);
        setTabKeyNavigation(false);  // Tab leaves the list, as it leaves any other control
        setShowGrid(false);
        setWordWrap(false);
        setAlternatingRowColors(true);
        setHorizontalScrollMode(ScrollPerPixel);
        verticalHeader()->hide();
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        horizontalHeader()->setHighlightSections(false);
        horizontalHeader()->setSortIndicatorShown(false);
        horizontalHeader()->setStretchLastSection(true);
        connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ListView::sortBy);
        connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
            if (!quiet_) dispatch(form_, id_, EZ_MSG_CHANGE);
        });
        connect(this, &QAbstractItemView::doubleClicked, this, &ListView::reportClick);
    }

    SourceModel model;

    // Rows of the height the list's font needs.
    void fitRowsToFont() {
        const int height = fontMetrics().height() + 4;
        verticalHeader()->setMinimumSectionSize(height);
        verticalHeader()->setDefaultSectionSize(height);
    }

    // Each column's share of the room left beside the vertical scroll bar; the last column takes
    // what the rounding leaves.
    void setShares(const std::vector<int>& shares) {
        const int room = width() - 2 * frameWidth() - verticalScrollBar()->sizeHint().width();
        for (size_t column = 0; column + 1 < shares.size(); ++column)
            horizontalHeader()->resizeSection(static_cast<int>(column), room * shares[column] / 100);
    }

    int64_t selectedCount() const { return static_cast<int64_t>(selectionModel()->selectedRows().size()); }

    // The keys of the selected rows, taken range by range from the top.
    std::vector<int64_t> selected() const {
        std::vector<std::pair<int64_t, int64_t>> ranges;
        for (const QItemSelectionRange& range : selectionModel()->selection()) ranges.emplace_back(range.top(), range.bottom());
        std::sort(ranges.begin(), ranges.end());
        std::vector<int64_t> keys;
        int64_t done = -1;  // ranges of a selection may overlap
        for (auto [first, last] : ranges) {
            if (last <= done) continue;
            const std::vector<int64_t> some = model.keys(std::max(first, done + 1), last);
            keys.insert(keys.end(), some.begin(), some.end());
            done = last;
        }
        return keys;
    }

    // Selects the given keys where the source places them, in as few ranges as they stand in;
    // the first of them becomes the current row, scrolled into view.
    void select(const std::vector<int64_t>& keys, int64_t current = -1) {
        std::vector<int64_t> wanted = keys;
        if (current >= 0) wanted.push_back(current);
        std::vector<int64_t> places = model.places(wanted);
        const int64_t currentPlace = current >= 0 ? places.back() : places.empty() ? -1 : places.front();
        if (current >= 0) places.pop_back();
        std::erase(places, -1);
        if (selectionMode() != ExtendedSelection && places.size() > 1) places.resize(1);
        std::sort(places.begin(), places.end());
        QItemSelection selection;
        const int last = model.columnCount({}) - 1;
        for (size_t first = 0, end = 0; first < places.size(); first = end) {
            for (end = first + 1; end < places.size() && places[end] <= places[end - 1] + 1;) ++end;
            selection.select(model.index(static_cast<int>(places[first]), 0),
                             model.index(static_cast<int>(places[end - 1]), last));
        }
        if (currentPlace >= 0) {
            const QModelIndex index = model.index(static_cast<int>(currentPlace), 0);
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
            scrollTo(index);
        }
        selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    // Starts the rows over (a sort, a new source, new headings), keeping the selected rows that
    // stay shown and the current row unless told to forget them; a change of the selection is
    // reported once, after.
    template <class Change>
    void rearrange(Change change, bool keepSelection) {
        const int64_t count = selectedCount();
        const std::vector<int64_t> before = keepSelection && count > 0 ? selected() : std::vector<int64_t>();
        const QModelIndex current = currentIndex();
        const std::vector<int64_t> currentKey =
            keepSelection && current.isValid() ? model.keys(current.row(), current.row()) : std::vector<int64_t>();
        quiet_ = true;
        model.reset(change);
        if (!before.empty() || !currentKey.empty()) select(before, currentKey.empty() ? -1 : currentKey.front());
        quiet_ = false;
        if (selectedCount() != count) dispatch(form_, id_, EZ_MSG_CHANGE);
    }

protected:
    // Enter on a row is a click on it, as a double click is.
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (!enter || !currentIndex().isValid()) return QTableView::keyPressEvent(event);
        event->accept();
        reportClick();
    }

private:
    // A click on a heading sorts by its column; a second click sorts the other way round.
    void sortBy(int column) {
        const Qt::SortOrder order = column == model.sortColumn && model.sortOrder == Qt::AscendingOrder
                                        ? Qt::DescendingOrder
                                        : Qt::AscendingOrder;
        horizontalHeader()->setSortIndicatorShown(true);
        horizontalHeader()->setSortIndicator(column, order);
        rearrange(
            [&] {
                model.sortColumn = column;
                model.sortOrder = order;
            },
            true);
    }

    void reportClick() {
        if (settings().commandEvents) dispatch(form_, id_, EZ_MSG_CLICK);
    }

    std::string form_;
    int32_t id_;
    bool quiet_ = false;  // the selection is being rebuilt, not changed
};

ListView* listAt(const std::string& form, int32_t id) { return dynamic_cast<ListView*>(findControl(form, id)); }

}  // namespace
}  // namespace gui

void EZ_LISTVIEW(int32_t id, double col, double row, double width, double height, const std::string& props) {
    gui::Form* form = gui::beginControl(id);
    if (!form) return;
    auto* list = new gui::ListView(form->name, id, form->client);
    gui::placeControl(*form, id, list, col, row, width, height);
    list->fitRowsToFont();
    list->setFocusPolicy(gui::tabPolicy(props));
    list->setSelectionMode(gui::has(props, 'M') ? QAbstractItemView::ExtendedSelection
                                                : QAbstractItemView::SingleSelection);
}

// New headings start the list over: every row unsorted, nothing selected.
void EZ_SETLISTCOLUMNS(const std::string& form, int32_t id, const std::string& headings) {
    gui::ListView* list = gui::listAt(form, id);
    if (!list) return;
    std::vector<std::string> names;
    std::vector<int> shares;
    const QStringList given = QString::fromStdString(headings).split('|');
    for (const QString& heading : given) {
        const qsizetype comma = heading.lastIndexOf(',');
        bool ok = false;
        const int share = comma < 0 ? 0 : heading.mid(comma + 1).trimmed().toInt(&ok);
        names.push_back((ok ? heading.left(comma) : heading).toStdString());
        shares.push_back(ok ? share : static_cast<int>(100 / given.size()));
    }
    list->horizontalHeader()->setSortIndicatorShown(false);
    list->rearrange(
        [&] {
            list->model.headings = names;
            list->model.sortColumn = -1;
        },
        false);
    list->setShares(shares);
}

void EZ_SETLISTSOURCE(const std::string& form, int32_t id, const EZ_LISTSOURCE& source) {
    gui::ListView* list = gui::listAt(form, id);
    if (list) list->rearrange([&] { list->model.source = source; }, true);
}

int64_t EZ_LISTSELECTEDCOUNT(const std::string& form, int32_t id) {
    gui::ListView* list = gui::listAt(form, id);
    return list ? list->selectedCount() : 0;
}

std::vector<int64_t> EZ_GETLISTSELECTION(const std::string& form, int32_t id) {
    gui::ListView* list = gui::listAt(form, id);
    return list ? list->selected() : std::vector<int64_t>();
}

void EZ_SETLISTSELECTION(const std::string& form, int32_t id, const std::vector<int64_t>& keys) {
    gui::ListView* list = gui::listAt(form, id);
    if (list) list->select(keys);
}
