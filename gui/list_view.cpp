// The list control: rows of texts in columns, sorted by a click on a heading, filtered by the
// program, thousands of rows at a time. The view shows one model that holds every row and the
// order they stand in; a sort or a filter rebuilds that order and resets the view once.
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "gui/registry.h"

namespace gui {
namespace {

// What a cell sorts by: a figure by its value, any other text by its letters regardless of case.
struct SortKey {
    bool isFigure = false;
    double value = 0;
    QString folded;
};

// "$1,200", "-35", "12.5%" are figures; "", "n/a", "12/08/2026" are not.
SortKey sortKeyOf(const std::string& text) {
    QString figure = QString::fromStdString(text).trimmed();
    if (figure.endsWith('%')) figure.chop(1);
    figure.remove('$').remove(',');
    bool ok = false;
    const double value = figure.isEmpty() ? 0 : figure.toDouble(&ok);
    if (ok && std::isfinite(value)) return {true, value, {}};
    return {false, 0, QString::fromStdString(text).toCaseFolded()};
}

// Figures stand before other texts; sorting the other way round turns the whole order over.
bool before(const SortKey& a, const SortKey& b) {
    if (a.isFigure != b.isFigure) return a.isFigure;
    return a.isFigure ? a.value < b.value : a.folded < b.folded;
}

// Every row the program gave, and the shown ones in the order they stand.
class RowModel : public QAbstractTableModel {
public:
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> filter;    // per row number: shown
    std::vector<int32_t> shown;  // the shown row numbers in the order they stand
    std::vector<int32_t> place;  // per row number: where it stands, -1 when filtered out
    int sortColumn = -1;         // -1: in the order given
    Qt::SortOrder sortOrder = Qt::AscendingOrder;

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(shown.size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(headings.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        const auto& cells = rows[shown[index.row()]];
        const auto column = static_cast<size_t>(index.column());
        return column < cells.size() ? QString::fromStdString(cells[column]) : QString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        return QString::fromStdString(headings[static_cast<size_t>(section)]);
    }

    // Changes the rows, their filter or their sort, then tells the view once. Only a change of the
    // rows or of the sort sorts again; a filter only picks from the sorted order.
    template <class Change>
    void rearrange(Change change, bool sortAgain) {
        beginResetModel();
        change();
        if (sortAgain) sort();
        shown.clear();
        place.assign(rows.size(), -1);
        for (int32_t row : sorted)
            if (filter[row]) {
                place[row] = static_cast<int32_t>(shown.size());
                shown.push_back(row);
            }
        endResetModel();
    }

private:
    std::vector<int32_t> sorted;  // every row number, in the order of the sort

    // By the chosen column; rows that sort alike keep the order given.
    void sort() {
        const size_t count = rows.size();
        sorted.resize(count);
        std::iota(sorted.begin(), sorted.end(), 0);
        if (sortColumn < 0) return;
        std::vector<SortKey> keys(count);
        const auto column = static_cast<size_t>(sortColumn);
        for (size_t row = 0; row < count; ++row)
            keys[row] = sortKeyOf(column < rows[row].size() ? rows[row][column] : std::string());
        const bool up = sortOrder == Qt::AscendingOrder;
        std::stable_sort(sorted.begin(), sorted.end(), [&](int32_t a, int32_t b) {
            return up ? before(keys[a], keys[b]) : before(keys[b], keys[a]);
        });
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

    RowModel model;

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

    // The row numbers selected, in the order they stand.
    std::vector<int32_t> selected() const {
        std::vector<int32_t> places;
        for (const QItemSelectionRange& range : selectionModel()->selection())
            for (int at = range.top(); at <= range.bottom(); ++at) places.push_back(at);
        std::sort(places.begin(), places.end());
        places.erase(std::unique(places.begin(), places.end()), places.end());
        for (int32_t& at : places) at = model.shown[static_cast<size_t>(at)];
        return places;
    }

    bool isShown(int32_t row) const {
        return row >= 0 && static_cast<size_t>(row) < model.place.size() && model.place[row] >= 0;
    }

    // Selects the shown rows among the given ones, in as few ranges as they stand in.
    void select(const std::vector<int32_t>& rows) {
        std::vector<int32_t> places;
        for (int32_t row : rows)
            if (isShown(row)) places.push_back(model.place[row]);
        std::sort(places.begin(), places.end());
        QItemSelection selection;
        const int last = model.columnCount({}) - 1;
        for (size_t first = 0, end = 0; first < places.size(); first = end) {
            for (end = first + 1; end < places.size() && places[end] <= places[end - 1] + 1;) ++end;
            selection.select(model.index(places[first], 0), model.index(places[end - 1], last));
        }
        selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    // Makes a row current, without selecting it, and scrolls it into view.
    void makeCurrent(int32_t row) {
        if (!isShown(row)) return;
        const QModelIndex index = model.index(model.place[row], 0);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        scrollTo(index);
    }

    // Rebuilds the order (a sort, a filter, new rows) keeping the selected rows that stay shown and
    // the current row; a change of the selection is reported once, after.
    enum Rearrangement { Filter, Sort, Restart };
    template <class Change>
    void rearrange(Change change, Rearrangement what) {
        const bool keepSelection = what != Restart;
        const std::vector<int32_t> before = selected();
        const QModelIndex current = currentIndex();
        const int32_t currentRow = current.isValid() ? model.shown[static_cast<size_t>(current.row())] : -1;
        quiet_ = true;
        model.rearrange(change, what != Filter);
        if (keepSelection) {
            makeCurrent(currentRow);
            select(before);
        }
        quiet_ = false;
        if (selected().size() != before.size()) dispatch(form_, id_, EZ_MSG_CHANGE);
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
            Sort);
    }

    void reportClick() {
        if (settings().commandEvents) dispatch(form_, id_, EZ_MSG_CLICK);
    }

    std::string form_;
    int32_t id_;
    bool quiet_ = false;  // the selection is being rebuilt, not changed
};

ListView* listAt(const std::string& form, int32_t id) { return dynamic_cast<ListView*>(findControl(form, id)); }

bool has(const std::string& props, char letter) { return props.find(letter) != std::string::npos; }

}  // namespace
}  // namespace gui

void EZ_LISTVIEW(int32_t id, double col, double row, double width, double height, const std::string& props) {
    gui::Form* form = gui::beginControl(id);
    if (!form) return;
    auto* list = new gui::ListView(form->name, id, form->client);
    gui::placeControl(*form, id, list, col, row, width, height);
    list->fitRowsToFont();
    list->setFocusPolicy(gui::has(props, 'T') ? Qt::StrongFocus : Qt::ClickFocus);
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
        gui::ListView::Restart);
    list->setShares(shares);
}

void EZ_SETLISTROWS(const std::string& form, int32_t id, const std::vector<std::vector<std::string>>& rows) {
    gui::ListView* list = gui::listAt(form, id);
    if (!list) return;
    list->rearrange(
        [&] {
            list->model.rows = rows;
            list->model.filter.assign(rows.size(), true);
        },
        gui::ListView::Restart);
}

void EZ_FILTERLIST(const std::string& form, int32_t id, const std::vector<bool>& shown) {
    gui::ListView* list = gui::listAt(form, id);
    if (!list) return;
    list->rearrange(
        [&] {
            list->model.filter = shown;
            list->model.filter.resize(list->model.rows.size(), false);
        },
        gui::ListView::Filter);
}

std::vector<int32_t> EZ_GETLISTSELECTION(const std::string& form, int32_t id) {
    gui::ListView* list = gui::listAt(form, id);
    return list ? list->selected() : std::vector<int32_t>();
}

void EZ_SETLISTSELECTION(const std::string& form, int32_t id, const std::vector<int32_t>& rows) {
    gui::ListView* list = gui::listAt(form, id);
    if (!list) return;
    std::vector<int32_t> shown;
    for (int32_t row : rows)
        if (list->isShown(row)) shown.push_back(row);
    if (list->selectionMode() != QAbstractItemView::ExtendedSelection && shown.size() > 1) shown.resize(1);
    if (!shown.empty()) list->makeCurrent(shown.front());
    list->select(shown);
}

std::vector<int32_t> EZ_GETLISTORDER(const std::string& form, int32_t id) {
    gui::ListView* list = gui::listAt(form, id);
    return list ? list->model.shown : std::vector<int32_t>();
}
