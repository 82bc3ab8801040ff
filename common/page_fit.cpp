#include "common/page_fit.h"

#include "base/text.h"
#include "print/ddoc.h"

std::string FITTED(int16_t job, const std::string& text, int32_t style, double points, double smallest,
                   double width) {
    for (double size = points; size >= smallest; size -= 0.5) {
        DD_FONT(job, style, size, kPageFace);
        if (DD_TEXTWIDTH(job, text) <= width) return text;
    }
    std::string cut = text;
    while (!cut.empty()) {
        cut = UTF8HEAD(cut, cut.size() - 1);
        while (!cut.empty() && cut.back() == ' ') cut.pop_back();
        if (DD_TEXTWIDTH(job, cut + "\u2026") <= width) break;
    }
    return cut + "\u2026";
}
