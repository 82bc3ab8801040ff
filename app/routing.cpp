#include "app/routing.h"

#include "calc/calculator_form.h"

void EZ_DESIGN(const std::string& formName) {
    if (formName == "RI") EZ_RI_Design();
    else OTHERFORMS_DESIGN(formName);
}

void EZ_EVENTS(const std::string& formName, int32_t& id, int32_t& message, int32_t& value,
               int32_t& cancel) {
    if (PREPROCESS_EVENTS(formName, id, message, value, cancel) != 0) return;
    if (formName == "RI") EZ_RI_ParseEvents(id, message, value, cancel);
    else OTHERFORMS_EVENTS(formName, id, message, value, cancel);
}

// Nothing is consumed before the forms see it.
int32_t PREPROCESS_EVENTS(const std::string&, int32_t&, int32_t&, int32_t&, int32_t&) { return 0; }

// No other form of the program exists yet. The library's pseudo-forms ("{APP}",
// "{MSGBOX}", its common dialogs) and unknown names are accepted and ignored.
void OTHERFORMS_DESIGN(const std::string&) {}

void OTHERFORMS_EVENTS(const std::string&, int32_t&, int32_t&, int32_t&, int32_t&) {}
