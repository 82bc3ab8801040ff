// Layers: pages of controls over a common layer 0, shown one page at a time.
#include <QWidget>

#include "gui/registry.h"

void EZ_SETLAYER(int32_t layer) { gui::settings().layer = layer; }

void EZ_DISPLAYLAYER(const std::string& form, int32_t layer) {
    gui::Form* f = gui::findForm(form);
    if (!f) return;
    for (const auto& [id, onLayer] : f->layers) {
        QWidget* control = gui::findControl(form, id);
        if (control && onLayer != 0) control->setVisible(onLayer == layer);
    }
}
