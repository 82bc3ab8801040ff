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

std::string JOINFIELDS(const StationTable& rows) {
    std::string joined;
    for (int row = 0; row < kStationRows; ++row) joined += (row ? "," : "") + rows[row];
    return joined;
}
