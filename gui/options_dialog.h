#pragma once
// The options dialog "TavriCAT选项": interactive translation, colours, fonts and sentence
// breaks. Colours go into the settings as soon as they are picked; every other value only
// on "确 定". The colour and font choosers are replaceable, so tests need no real dialogs.

#include <QColor>
#include <QDialog>
#include <QFont>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/settings.h"
#include "base/ports.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace tavricat::gui {

// Settings hold Windows colour values: red in bits 0-7, green 8-15, blue 16-23.
QColor fromWindowsColour(std::int32_t value);
std::int32_t toWindowsColour(const QColor& colour);

// The colour elements in the order of the dialog's list.
enum class ColourElement { CurrentWord, PhraseTip, SelectedWords, ShortcutKeys, CurrentMeaning, IsolationTags };
inline constexpr int kColourElementCount = 6;

enum class FontSample { Source, Target };

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Both return nothing when the person cancels.
    using ColourChooser = std::function<std::optional<QColor>(const QColor& current, QWidget* parent)>;
    using FontChooser = std::function<std::optional<QFont>(const QFont& current, QWidget* parent)>;
    using HelpOpener = std::function<void(const QString& topic)>;

    // Reads `settings` now; `settings` and `dialogs` outlive the dialog.
    OptionsDialog(Settings& settings, Dialogs& dialogs, QWidget* parent = nullptr);

    void setColourChooser(ColourChooser chooser) { m_chooseColour = std::move(chooser); }
    void setFontChooser(FontChooser chooser) { m_chooseFont = std::move(chooser); }
    // Without an opener the help button stays disabled.
    void setHelpOpener(HelpOpener opener);

    QTabWidget* pages() const { return m_pages; }
    QListWidget* colourList() const { return m_colourList; }
    QLabel* colourSwatch() const { return m_swatch; }
    QLabel* fontSample(FontSample which) const { return m_samples[static_cast<std::size_t>(which)]; }

    void selectColourElement(ColourElement element);
    ColourElement currentColourElement() const;
    // Stores `colour` into the current element at once, unless the element refuses it (the
    // person is told). False when refused.
    bool pickColour(const QColor& colour);
    // The "其他颜色..." button: asks the colour chooser, then picks its answer.
    void chooseColour();
    // The "更改..." buttons: asks the font chooser for that sample.
    void changeFont(FontSample which);

    // The help topic of this dialog.
    static QString helpTopic() { return QStringLiteral("newpage49.htm"); }

public slots:
    void accept() override;

private:
    QWidget* buildInteractivePage();
    QWidget* buildColourPage();
    QWidget* buildFontPage();
    QWidget* buildBreakPage();
    void showMatchRate(int rate);
    void showCurrentColour();

    Settings& m_settings;
    Dialogs& m_dialogs;
    ColourChooser m_chooseColour;
    FontChooser m_chooseFont;
    HelpOpener m_openHelp;

    QTabWidget* m_pages = nullptr;
    QSlider* m_matchRate = nullptr;
    QLabel* m_matchRateLabel = nullptr;
    QCheckBox* m_giveMT = nullptr;
    QCheckBox* m_rightClickShowsAll = nullptr;
    QCheckBox* m_spaceInHan = nullptr;
    QCheckBox* m_autoPropagate = nullptr;
    QCheckBox* m_copyNewWords = nullptr;
    QSpinBox* m_minShowChars = nullptr;
    QSpinBox* m_maxExamples = nullptr;
    QListWidget* m_colourList = nullptr;
    QLabel* m_swatch = nullptr;
    std::array<QLabel*, 2> m_samples{};
    QCheckBox* m_lineBreakStops = nullptr;
    QCheckBox* m_tabStops = nullptr;
    QCheckBox* m_tagStops = nullptr;
    QPushButton* m_help = nullptr;
};

}  // namespace tavricat::gui
