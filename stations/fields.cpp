#include "stations/fields.h"

StationTable SPLITFIELDS(std::string_view value) {
    StationTable rows;
    size_t at = 0;
    for (int row = 0; row < kStationRows && at <= value.size(); ++row) {
        while (at < value.size() && value[at] == ' ') ++at;
        size_t comma;
        if (at < value.size() && value[at] == '"') {
            size_t close = value.find('"', at + 1);
            if (close == std::string_view::npos) close = value.size();
            rows[row] = std::string(value.substr(at + 1, close - at - 1));
            comma = value.find(',', close);
        } else {
            comma = value.find(',', at);
            std::string_view field = value.substr(at, comma == std::string_view::npos ? value.npos : comma - at);
            while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
            rows[row] = std::string(field);
        }
        if (comma == std::string_view::npos) break;
        at = comma + 1;
    }
    return rows;
}

namespace {

// A field that the split would not give back as it stands: one with a comma, or with a space or
// a double quote where the split drops or reads one. Quoting brings it back when it holds no quote.
bool needsQuotes(const std::string& field) {
    if (field.empty() || field.find('"') != std::string::npos) return false;
    return field.find(',') != std::string::npos || field.front() == ' ' || field.back() == ' ';
}

}  // namespace

std::string JOINFIELDS(const StationTable& rows) {
    std::string joined;
    for (int row = 0; row < kStationRows; ++row) {
        if (row) joined += ",";
        joined += needsQuotes(rows[row]) ? "\"" + rows[row] + "\"" : rows[row];
    }
    return joined;
}
