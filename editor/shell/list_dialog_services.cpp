#include "list_dialog_services.h"

#include "core/file_system.h"
#include "core/path_rules.h"
#include "core/texture_module.h"
#include "dialog_service.h"
#include "window_text.h"

namespace tessvane {

namespace {

// A field's text can be stored when the Character Set holds every character
// of it; otherwise the message names the first one that it does not.
std::function<bool(const QString&)> StorableInSet(DialogService& dialogs,
                                                  const EditorContext& editor) {
    return [&dialogs, &editor](const QString& text) {
        const TypedText typed = ReadTyped(text, CharacterSetOf(editor));
        if (!typed.ok()) ShowWarning(&dialogs, typed.refusal);
        return typed.ok();
    };
}

}  // namespace

std::string StoredText(const EditorContext& editor, const QString& text) {
    return ReadTyped(text, CharacterSetOf(editor)).bytes;
}

DefDirSelectServices MakeDefDirSelectServices(DialogService& dialogs, const EditorContext& editor,
                                              std::shared_ptr<std::string> last_directory) {
    DefDirSelectServices services;
    services.directoryAcceptable = [&editor](const QString& directory) {
        const Settings& settings = editor.settings;
        if (!settings.ValidateDirectory || settings.Computer != ComputerType::PC) return true;
        return DirectoryExistsHere(editor, StoredText(editor, directory));
    };
    services.warn = [&dialogs](const QString& text) { ShowWarning(&dialogs, text.toStdString()); };
    services.chooseDirectory = [&dialogs, &editor, last = std::move(last_directory)](
                                   const QString& title,
                                   const QString& current) -> std::optional<QString> {
        const TypedText text = ReadTyped(current, CharacterSetOf(editor));
        DirectoryRequest request;
        request.title = title.toStdString();
        if (text.ok() && !text.bytes.empty() && DirectoryExistsHere(editor, text.bytes))
            request.start = text.bytes;
        else if (last)
            request.start = *last;
        const std::optional<std::string> chosen = dialogs.ChooseDirectory(request);
        if (!chosen) return std::nullopt;
        if (last) *last = *chosen;
        return ShowText(*chosen, CharacterSetOf(editor));
    };
    services.storable = StorableInSet(dialogs, editor);
    return services;
}

DefTextureFormServices MakeDefTextureFormServices(DialogService& dialogs,
                                                  const EditorContext& editor) {
    DefTextureFormServices services;
    services.openTexture = [&dialogs](const QString& title, const QString& directory,
                                      const QString& fileName) -> std::optional<QString> {
        FileDialogRequest request;
        request.title = title.toStdString();
        request.directory = LocalText(directory);
        request.fileName = LocalText(fileName);
        const std::optional<std::string> chosen = dialogs.OpenFile(request);
        if (!chosen) return std::nullopt;
        return ShowLocal(*chosen);
    };
    services.inquireDescription = [&editor](const QString& path) {
        return ShowText(InquireTextureDescription(LocalText(path)), CharacterSetOf(editor));
    };
    services.storable = StorableInSet(dialogs, editor);
    return services;
}

std::optional<DirectoryDefault> RunDirectoryPrompt(DialogService& dialogs,
                                                   const EditorContext& editor,
                                                   const DirectoryPrompt& prompt, QWidget* parent) {
    const CharacterSet set = CharacterSetOf(editor);
    TDefDirSelect dialog(parent);
    dialog.SetServices(MakeDefDirSelectServices(dialogs, editor, nullptr));
    dialog.setWindowTitle(ShowLocal(prompt.caption));
    dialog.SetFields(ShowText(prompt.oldDirectory, set), ShowText(prompt.newDirectory, set));
    dialog.SetOldDirectoryLocked(true);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return DirectoryDefault{StoredText(editor, dialog.OldDirectory()),
                            StoredText(editor, dialog.NewDirectory())};
}

std::optional<TextureDefault> RunTexturePrompt(DialogService& dialogs, const EditorContext& editor,
                                               const TexturePrompt& prompt, QWidget* parent) {
    const CharacterSet set = CharacterSetOf(editor);
    TDefTextureForm dialog(parent);
    dialog.SetServices(MakeDefTextureFormServices(dialogs, editor));
    dialog.setWindowTitle(ShowLocal(prompt.caption));
    dialog.SetTextureDirectory(ShowLocal(prompt.textureDirectory));
    dialog.SetFields(ShowText(prompt.oldTexture, set), ShowText(prompt.newTexture, set),
                     ShowText(prompt.description, set));
    dialog.SetOldTextureLocked(true);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return TextureDefault{StoredText(editor, dialog.OldTexture()),
                          StoredText(editor, dialog.NewTexture()),
                          StoredText(editor, dialog.Description())};
}

}  // namespace tessvane
