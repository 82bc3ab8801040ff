#include "app/routing.h"

#include "about/about_box.h"
#include "analyses/compare_window.h"
#include "analyses/saved_analyses.h"
#include "analyses/scenario_name.h"
#include "calc/calculator_form.h"
#include "msgbox/message_box.h"
#include "stations/station_editor.h"
#include "update/information_window.h"
#include "update/updating_window.h"

void EZ_DESIGN(const std::string& formName) {
    if (formName == "RI") {
        EZ_RI_Design();
    } else if (formName == "AB") {
        EZ_AB_Design();
    } else if (formName == "SE") {
        EZ_SE_Design();
    } else {
        OTHERFORMS_DESIGN(formName);
    }
}

void EZ_EVENTS(const std::string& formName, int32_t& id, int32_t& message, int32_t& value, int32_t& cancel) {
    if (PREPROCESS_EVENTS(formName, id, message, value, cancel) != 0) return;
    if (formName == "RI") {
        EZ_RI_ParseEvents(id, message, value, cancel);
    } else if (formName == "AB") {
        EZ_AB_ParseEvents(id, message, value, cancel);
    } else if (formName == "SE") {
        EZ_SE_ParseEvents(id, message, value, cancel);
    } else {
        OTHERFORMS_EVENTS(formName, id, message, value, cancel);
    }
}

// Nothing is consumed before the forms see it.
int32_t PREPROCESS_EVENTS(const std::string&, int32_t&, int32_t&, int32_t&, int32_t&) { return 0; }

// The message box, the two update windows and the windows of the saved analyses; the library's pseudo-forms ("{APP}", "{MSGBOX}",
// its common dialogs) and unknown names are accepted and ignored.
void OTHERFORMS_DESIGN(const std::string& formName) {
    if (formName == "DGMSGBOX1") DESIGN_DGMSGBOX(formName);
    else if (formName == "ZD") EZ_ZD_Design();
    else if (formName == "WN") EZ_WN_Design();
    else if (formName == "SA") EZ_SA_Design();
    else if (formName == "CA") EZ_CA_Design();
    else if (formName == "SN") EZ_SN_Design();
}

void OTHERFORMS_EVENTS(const std::string& formName, int32_t& id, int32_t& message, int32_t& value,
                       int32_t& cancel) {
    if (formName == "DGMSGBOX1") EVENTS_DGMSGBOX(formName, id, message, value, cancel);
    else if (formName == "ZD") EZ_ZD_ParseEvents(id, message, value, cancel);
    else if (formName == "WN") EZ_WN_ParseEvents(id, message, value, cancel);
    else if (formName == "SA") EZ_SA_ParseEvents(id, message, value, cancel);
    else if (formName == "CA") EZ_CA_ParseEvents(id, message, value, cancel);
    else if (formName == "SN") EZ_SN_ParseEvents(id, message, value, cancel);
}
