// The Options page: every control mirrors one setting and stores it at once
// (check boxes, radio buttons, lists) or on Enter (text fields).
#include <QComboBox>
#include <QLabel>
#include <algorithm>

#include "VANEMain.h"
#include "core/path_rules.h"
#include "state/settings_file.h"
#include "ui_VANEMain.h"
#include "window_text.h"

namespace tessvane {

void TVANEForm::ConnectOptionsPage() {
    AddCharacterSetChoice();
    connect(ui_->PCRadio, &QRadioButton::clicked, this, &TVANEForm::PCRadioClick);
    connect(ui_->AmigaRadio, &QRadioButton::clicked, this, &TVANEForm::AmigaRadioClick);
    connect(ui_->DirValidationBox, &QCheckBox::clicked, this, &TVANEForm::DirValidationBoxClick);
    connect(ui_->FileValidationBox, &QCheckBox::clicked, this, &TVANEForm::FileValidationBoxClick);
    connect(ui_->TexCombo, &QComboBox::activated, this, &TVANEForm::TexComboChange);
    connect(ui_->BrushCombo, &QComboBox::activated, this, &TVANEForm::BrushComboChange);
    connect(ui_->TexExtEdit, &QLineEdit::returnPressed, this, &TVANEForm::TexExtEditKeyDown);
    connect(ui_->BrushExtEdit, &QLineEdit::returnPressed, this, &TVANEForm::BrushExtEditKeyDown);
    connect(ui_->UpdateSuffixButton, &QPushButton::clicked, this,
            &TVANEForm::UpdateSuffixButtonClick);
    connect(ui_->ImagineDirButton, &QPushButton::clicked, this, &TVANEForm::ImagineDirButtonClick);
    connect(ui_->ObjectDirButton, &QPushButton::clicked, this, &TVANEForm::ObjectDirButtonClick);
    connect(ui_->ImagineDirEdit, &QLineEdit::returnPressed, this,
            &TVANEForm::ImagineDirEditKeyDown);
    connect(ui_->LoadDirEdit, &QLineEdit::returnPressed, this, &TVANEForm::LoadDirEditKeyDown);
    connect(ui_->SaveUpdate, &QCheckBox::clicked, this, &TVANEForm::SaveUpdateExit);
    connect(ui_->truncatedir, &QCheckBox::clicked, this, &TVANEForm::truncatedirClick);
    connect(ui_->SaveSetting, &QCheckBox::clicked, this, &TVANEForm::SaveSettingClick);
    connect(ui_->DefaultDir, &QCheckBox::clicked, this, &TVANEForm::DefaultDirClick);
    connect(ui_->TextureLoad, &QCheckBox::clicked, this, &TVANEForm::TextureLoadClick);
    connect(ui_->UpdateDescButton, &QCheckBox::clicked, this, &TVANEForm::UpdateDescButtonClick);
    connect(ui_->LoadSetButton, &QPushButton::clicked, this, &TVANEForm::LoadSetButtonClick);
    connect(ui_->SaveSettingsButton, &QPushButton::clicked, this,
            &TVANEForm::SaveSettingsButtonClick);
}

void TVANEForm::SetOptionDisplay() {
    Settings& s = context_.editor.settings;
    ShellState& shell = context_.editor.shell;

    ui_->PCRadio->setChecked(s.Computer == ComputerType::PC);
    ui_->AmigaRadio->setChecked(s.Computer == ComputerType::Amiga);
    ui_->SaveUpdate->setChecked(s.ReloadAfterSave);
    shell.WorkingReloadAfterSave = s.ReloadAfterSave;
    ui_->DefaultDir->setChecked(s.UseDefaultDirectories);
    ui_->truncatedir->setChecked(s.UseShortDirectory);
    ui_->TexCombo->setCurrentIndex(
        s.TextureSuffixSelection < ui_->TexCombo->count() ? s.TextureSuffixSelection : 0);
    ui_->BrushCombo->setCurrentIndex(
        s.BrushSuffixSelection < ui_->BrushCombo->count() ? s.BrushSuffixSelection : 0);
    ui_->SaveSetting->setChecked(s.SaveSettings);
    ui_->TextureLoad->setChecked(s.UseDefaultTextures);
    ui_->UpdateDescButton->setChecked(s.UpdateTextureDescriptions);

    // Batch page.
    ui_->DefDirectoryCheck->setChecked(s.BatchUseDefaultDirectories);
    ui_->DefTexCheck->setChecked(s.BatchUseDefaultTextures);
    ui_->BatchExtCheck->setChecked(s.BatchUpdateFileSuffix);
    ui_->OriginalDirCheck->setChecked(shell.SaveInOriginalDirectory);
    ui_->LogCheck->setChecked(s.GenerateLog);
    ui_->BackupCheck->setChecked(s.CreateBackups);
    ui_->DirTexPrompt->setChecked(s.PromptForNewTexturesDirectory);
    ui_->SaveDir->setText(ShowLocal(s.SaveDirectory));
    ui_->PromptList->setCurrentIndex(s.PromptIfDirectoryExists ? 0 : 1);
    ui_->SaveDirButton->setEnabled(!shell.SaveInOriginalDirectory);
    ui_->SaveDir->setEnabled(!shell.SaveInOriginalDirectory);
    ui_->DirTexPrompt->setEnabled(s.BatchUseDefaultDirectories || s.BatchUseDefaultTextures);
    ui_->PromptList->setEnabled(ui_->DirTexPrompt->isEnabled() && s.PromptForNewTexturesDirectory);

    if (s.Computer == ComputerType::PC) {
        ui_->DirValidationBox->setEnabled(true);
        ui_->DirValidationBox->setChecked(s.ValidateDirectory);
        ui_->FileValidationBox->setChecked(s.ValidateFiles);
        ui_->FileValidationBox->setEnabled(s.ValidateDirectory);
    } else {
        ui_->DirValidationBox->setChecked(false);
        ui_->FileValidationBox->setChecked(false);
        ui_->DirValidationBox->setEnabled(false);
        ui_->FileValidationBox->setEnabled(false);
        s.ValidateFiles = false;
        s.ValidateDirectory = false;
    }

    ShowSuffixField(s.TextureSuffixSelection, s.TextureSuffix, true);
    ShowSuffixField(s.BrushSuffixSelection, s.BrushSuffix, false);

    characterSetCombo_->setCurrentIndex(
        static_cast<int>(std::find(kCharacterSets.begin(), kCharacterSets.end(), s.CharacterSet) -
                         kCharacterSets.begin()));
    ui_->ImagineDirEdit->setText(Shown(s.ImagineDirectory));
    ui_->LoadDirEdit->setText(ShowLocal(s.LoadDirectory));

    SetDefDirectoryList();
    SetDefTextureList();
}

// "Character Set" sits below the check boxes on the right, with the other
// settings that concern every page.
void TVANEForm::AddCharacterSetChoice() {
    auto* label = new QLabel(QStringLiteral("Character Set"), ui_->OptionsPage);
    label->setObjectName(QStringLiteral("CharacterSetLabel"));
    label->setGeometry(272, 250, 92, 16);
    characterSetCombo_ = new QComboBox(ui_->OptionsPage);
    characterSetCombo_->setObjectName(QStringLiteral("CharacterSetCombo"));
    characterSetCombo_->setGeometry(366, 246, 137, 24);
    for (const CharacterSet set : kCharacterSets)
        characterSetCombo_->addItem(QString::fromLatin1(CharacterSetName(set)));
    label->setBuddy(characterSetCombo_);
    connect(characterSetCombo_, &QComboBox::activated, this, &TVANEForm::CharacterSetComboChange);
}

void TVANEForm::CharacterSetComboChange(int item) {
    if (item < 0 || item >= static_cast<int>(kCharacterSets.size())) return;
    Settings& s = context_.editor.settings;
    s.CharacterSet = kCharacterSets[static_cast<std::size_t>(item)];
    // The bytes stay as they are; only how they read changes.
    ui_->ImagineDirEdit->setText(Shown(s.ImagineDirectory));
    ShowSuffixField(s.TextureSuffixSelection, s.TextureSuffix, true);
    ShowSuffixField(s.BrushSuffixSelection, s.BrushSuffix, false);
    SetDefDirectoryList();
    SetDefTextureList();
    ShowFileTexts();
}

// A suffix field is open, and shows its suffix, only while its list says
// "as specified".
void TVANEForm::ShowSuffixField(int selection, const SuffixText& suffix, bool texture) {
    QLineEdit* field = texture ? ui_->TexExtEdit : ui_->BrushExtEdit;
    const bool specified = selection == 1;
    field->setEnabled(specified);
    field->setText(specified ? Shown(suffix) : QString());
}

void TVANEForm::PCRadioClick() {
    context_.editor.settings.Computer = ComputerType::PC;
    SetOptionDisplay();
}

void TVANEForm::AmigaRadioClick() {
    Settings& s = context_.editor.settings;
    s.Computer = ComputerType::Amiga;
    s.ValidateFiles = false;
    s.ValidateDirectory = false;
    SetOptionDisplay();
}

void TVANEForm::DirValidationBoxClick(bool checked) {
    Settings& s = context_.editor.settings;
    s.ValidateDirectory = checked;
    if (!checked) {
        s.ValidateFiles = false;
        ui_->FileValidationBox->setChecked(false);
        ui_->FileValidationBox->setEnabled(false);
    } else {
        ui_->FileValidationBox->setEnabled(true);
    }
}

void TVANEForm::FileValidationBoxClick(bool checked) {
    context_.editor.settings.ValidateFiles = checked;
}

void TVANEForm::TexComboChange(int item) {
    Settings& s = context_.editor.settings;
    s.TextureSuffixSelection = static_cast<std::uint16_t>(item);
    ComputeEffectiveSuffixes(context_);
    ShowSuffixField(item, s.TextureSuffix, true);
    if (item == 1) ui_->TexExtEdit->setFocus();
    if (FileHeld()) ui_->UpdateSuffixButton->setEnabled(true);
}

void TVANEForm::BrushComboChange(int item) {
    Settings& s = context_.editor.settings;
    s.BrushSuffixSelection = static_cast<std::uint16_t>(item);
    ComputeEffectiveSuffixes(context_);
    ShowSuffixField(item, s.BrushSuffix, false);
    if (item == 1) ui_->BrushExtEdit->setFocus();
    if (FileHeld()) ui_->UpdateSuffixButton->setEnabled(true);
}

void TVANEForm::TexExtEditKeyDown() {
    std::string typed;
    if (!Typed(ui_->TexExtEdit, typed)) return;
    context_.editor.settings.TextureSuffix = typed;
    ComputeEffectiveSuffixes(context_);
    ui_->UpdateSuffixButton->setEnabled(true);
    ui_->UpdateSuffixButton->setFocus();
}

void TVANEForm::BrushExtEditKeyDown() {
    std::string typed;
    if (!Typed(ui_->BrushExtEdit, typed)) return;
    context_.editor.settings.BrushSuffix = typed;
    ComputeEffectiveSuffixes(context_);
    ui_->UpdateSuffixButton->setEnabled(true);
    ui_->UpdateSuffixButton->setFocus();
}

void TVANEForm::UpdateSuffixButtonClick() {
    if (!context_.file.Loaded) return;
    ApplySuffixes(context_);
    ui_->UpdateSuffixButton->setEnabled(false);
}

void TVANEForm::ImagineDirButtonClick() {
    DirectoryRequest request;
    request.title = "Select Imagine Program Directory";
    request.start = StartDirectory(ui_->ImagineDirEdit->text());
    const std::optional<std::string> chosen = dialogs_.ChooseDirectory(request);
    if (!chosen) return;
    context_.editor.settings.ImagineDirectory = *chosen;
    ui_->ImagineDirEdit->setText(Shown(context_.editor.settings.ImagineDirectory));
}

void TVANEForm::ObjectDirButtonClick() {
    DirectoryRequest request;
    request.title = "Select Default Object Directory";
    request.start = LocalText(ui_->LoadDirEdit->text());
    request.form = DirectoryForm::Local;
    const std::optional<std::string> chosen = dialogs_.ChooseDirectory(request);
    if (!chosen) return;
    context_.editor.settings.LoadDirectory = *chosen;
    ui_->LoadDirEdit->setText(ShowLocal(context_.editor.settings.LoadDirectory));
    context_.editor.shell.CurrentFileDirectory = *chosen;
}

void TVANEForm::ImagineDirEditKeyDown() {
    std::string typed;
    if (!Typed(ui_->ImagineDirEdit, typed)) return;
    context_.editor.settings.ImagineDirectory = typed;
    ui_->LoadDirEdit->setFocus();
}

void TVANEForm::LoadDirEditKeyDown() {
    context_.editor.settings.LoadDirectory = LocalText(ui_->LoadDirEdit->text());
    ui_->ImagineDirEdit->setFocus();
}

void TVANEForm::SaveUpdateExit(bool checked) {
    context_.editor.shell.WorkingReloadAfterSave = checked;
}
void TVANEForm::truncatedirClick(bool checked) {
    context_.editor.settings.UseShortDirectory = checked;
}
void TVANEForm::SaveSettingClick(bool checked) {
    context_.editor.settings.SaveSettings = checked;
}
void TVANEForm::DefaultDirClick(bool checked) {
    context_.editor.settings.UseDefaultDirectories = checked;
}
void TVANEForm::TextureLoadClick(bool checked) {
    context_.editor.settings.UseDefaultTextures = checked;
}
void TVANEForm::UpdateDescButtonClick(bool checked) {
    context_.editor.settings.UpdateTextureDescriptions = checked;
}

void TVANEForm::LoadSetButtonClick() {
    const ShellState& shell = context_.editor.shell;
    FileDialogRequest request;
    request.title = "Select Settings File";
    request.filter = kObjectFileFilter;
    request.directory = shell.SettingsDirectory;
    request.fileName = shell.SettingsFileName;
    const std::optional<std::string> chosen = dialogs_.OpenFile(request);
    if (!chosen) return;
    ReadSettingsFile(*chosen);
    SetOptionDisplay();
    ShowFileTexts();
}

void TVANEForm::SaveSettingsButtonClick() {
    const ShellState& shell = context_.editor.shell;
    FileDialogRequest request;
    request.title = "Save Settings as";
    request.filter = "All Files|*.*";
    request.directory = shell.SettingsDirectory;
    request.fileName = shell.SettingsFileName;
    request.defaultSuffix = "new";
    const std::optional<std::string> chosen = dialogs_.SaveFile(request);
    if (!chosen) return;
    Settings& s = context_.editor.settings;
    s.Computer = ui_->PCRadio->isChecked() ? ComputerType::PC : ComputerType::Amiga;
    s.ValidateFiles = ui_->FileValidationBox->isChecked();
    s.ValidateDirectory = ui_->DirValidationBox->isChecked();
    s.ReloadAfterSave = ui_->SaveUpdate->isChecked();
    if (WriteSettings(context_.editor, *chosen)) settingsFile_ = *chosen;
}

}  // namespace tessvane
