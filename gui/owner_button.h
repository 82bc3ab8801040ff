// A push button whose face the program paints when it receives message 300.
#pragma once

#include <QPushButton>
#include <cstdint>
#include <string>

namespace gui {

class OwnerButton : public QPushButton {
    Q_OBJECT
public:
    OwnerButton(const std::string& form, int32_t id, const QString& text, QWidget* parent);

    // State bits handed to the program with message 300.
    enum State : int32_t { Pressed = 1, Focused = 2, Disabled = 4, Hovered = 8 };

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string form_;
    int32_t id_;
};

}  // namespace gui
