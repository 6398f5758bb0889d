#pragma once
// "自动翻译": the options of an automatic translation run. They are the settings themselves:
// "翻  译" stores them and allows the run, "取 消" changes nothing.

#include <QDialog>
#include <QPushButton>

#include <functional>

#include "app/settings.h"

class QCheckBox;
class QLabel;
class QRadioButton;
class QSlider;

namespace tavricat::gui {

class AutoTranslationDialog : public QDialog {
    Q_OBJECT
public:
    // Reads `settings` now; `settings` outlives the dialog.
    explicit AutoTranslationDialog(Settings& settings, QWidget* parent = nullptr);
    // "帮 助" opens the manual's page `topic` through `opener`; without one it stays disabled.
    void setHelpOpener(std::function<void(const QString& topic)> opener) {
        m_openHelp = std::move(opener);
        m_help->setEnabled(static_cast<bool>(m_openHelp));
    }

private:
    void store();

    Settings& m_settings;
    QSlider* m_rate = nullptr;
    QLabel* m_rateLabel = nullptr;
    QRadioButton* m_copy = nullptr;
    QRadioButton* m_keep = nullptr;
    QRadioButton* m_machine = nullptr;
    QCheckBox* m_spaceInHan = nullptr;
    QPushButton* m_help = nullptr;
    std::function<void(const QString& topic)> m_openHelp;
};

}  // namespace tavricat::gui
