#pragma once

#include "calc/outcome.h"
#include "window/messenger.h"
#include "window/window_fields.h"

#include <array>
#include <map>
#include <memory>
#include <string>

#include <QWidget>

class QCheckBox;
class QComboBox;

namespace window {

// The program's only window. It creates every control from the control table, owns them and
// its messenger, and hands its text boxes to the calculations as their field access. Each
// handler belongs to one control and runs to its end before the next event is taken.
class Form1 final : public QWidget {
    Q_OBJECT

public:
    explicit Form1(std::unique_ptr<Messenger> messenger = std::make_unique<MessageBoxMessenger>(),
                   QWidget* parent = nullptr);
    ~Form1() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void fillPickers();
    void openList(const QObject* field);
    void checkToggled(QCheckBox* box, bool ticked);
    void calculateClicked();
    void clearClicked();
    void exitClicked();
    void aboutClicked();
    void report(const calc::Outcome& outcome);

    std::unique_ptr<Messenger> messenger_;
    WindowFields fields_;
    std::array<QCheckBox*, 3> checks_{};
    std::map<const QObject*, QComboBox*> lists_; // each field that has a list, and its list
    QObject* doubleClicked_ = nullptr;           // the field whose double-click awaits its release
    std::string decimalSeparator_;
};

} // namespace window
