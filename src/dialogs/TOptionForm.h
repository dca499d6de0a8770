#pragma once
// TOptionForm: the modal "Option" dialog. It edits the settings object the
// main window hands it: the rule, the computer's strength and times, default
// record format, board colour, sound, the database directory and the
// identifier for new database data. Made once at
// start-up and refilled from the settings at every showing, so nothing typed
// survives a Cancel -- except the board colour, which "Change" and "Default"
// write at once.

#include "settings/StoredColour.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QFrame;
class QLineEdit;
class QTabWidget;

namespace korvana {

class ColourChooser;
class KvParam;
class TDababaseDirectryForm;

class TOptionForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 456;
    static constexpr int ClientHeight = 312;

    explicit TOptionForm(QWidget *parent = nullptr);

    /// The settings to edit (borrowed); set before every showing.
    void SetSettings(KvParam *settings) { settings_ = settings; }
    /// True only when the last showing ended with "OK".
    bool Accepted() const { return accepted_; }

    /// The colour dialog stand-in for "Change" (borrowed); the platform's dialog when none.
    void setColourChooser(ColourChooser *chooser) { chooser_ = chooser; }
    /// The folder chooser "&Browse" opens (borrowed); one of its own is made when none is given.
    void setDirectoryForm(TDababaseDirectryForm *form) { directoryForm_ = form; }
    TDababaseDirectryForm &directoryForm();

    /// The main window's Option command: places the dialog by WIN32/PosWinForm relative to
    /// `mainFrame` (centred when -1,-1), shows it modally on `settings`, then stores its offset
    /// in PosWinForm and saves the settings file. Returns Accepted(); after true the caller
    /// gives the database the new DatabaseDirName and redraws.
    bool ShowOptions(KvParam &settings, const QRect &mainFrame);

    /// Fills the controls from the settings (done when shown).
    void Fill();
    /// Writes the controls into the settings, in a fixed order, and saves the file (done by "OK").
    void Apply();
    /// "Change": the colour chooser; a confirmed colour becomes Option/BoardColor at once.
    void ChangeColour();
    /// "Default": Option/BoardColor := Option/DefaultBoardColor at once.
    void DefaultColour();
    /// "&Browse": the folder chooser, placed by WIN32/PosDBDirForm relative to this dialog.
    void Browse();

    /// The colour the sample shows.
    QColor sampleColour() const;
    /// The page control; hidden tabs are there but not visible.
    QTabWidget *pages() const { return pages_; }

    /// "OK": apply, save, accepted.
    void accept() override;
    /// "Cancel" (and Escape, and the close box): not accepted, nothing written.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildGamePage(QWidget *page);
    void buildSystemPage(QWidget *page);
    void buildDatabasePage(QWidget *page);
    void buildNetworkPage(QWidget *page);
    void showSampleColour(StoredColour colour);

    KvParam *settings_ = nullptr;
    bool accepted_ = false;
    ColourChooser *chooser_ = nullptr;
    TDababaseDirectryForm *directoryForm_ = nullptr;

    QTabWidget *pages_;
    QComboBox *rule_ = nullptr;
    QCheckBox *inputAssistant_ = nullptr;
    QGroupBox *strengthGroup_ = nullptr;
    QComboBox *strength_ = nullptr;
    QDoubleSpinBox *libraryTime_ = nullptr;   ///< seconds
    QDoubleSpinBox *forcedWinTime_ = nullptr; ///< seconds
    bool preview_ = false;                    ///< System/PreviewMenus: the rule list and no strength, as before
    QFrame *boardColour_ = nullptr;
    QComboBox *language_ = nullptr;
    QComboBox *fileFormat_ = nullptr;
    QCheckBox *sound_ = nullptr;
    QLineEdit *newDataId_ = nullptr;
    QLineEdit *directoryName_ = nullptr;
};

} // namespace korvana
