#include "list_dialog_services.h"

#include "core/file_system.h"
#include "core/path_rules.h"
#include "core/texture_module.h"
#include "dialog_service.h"

namespace tessvane {

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
std::string S(const QString& text) {
    return text.toStdString();
}

}  // namespace

DefDirSelectServices MakeDefDirSelectServices(DialogService& dialogs, const EditorContext& editor,
                                              std::shared_ptr<std::string> last_directory) {
    DefDirSelectServices services;
    services.directoryAcceptable = [&editor](const QString& directory) {
        const Settings& settings = editor.settings;
        if (!settings.ValidateDirectory || settings.Computer != ComputerType::PC) return true;
        return DirectoryExistsHere(editor, S(directory));
    };
    services.warn = [&dialogs](const QString& text) { ShowWarning(&dialogs, S(text)); };
    services.chooseDirectory = [&dialogs, &editor, last = std::move(last_directory)](
                                   const QString& title,
                                   const QString& current) -> std::optional<QString> {
        const std::string text = S(current);
        DirectoryRequest request;
        request.title = S(title);
        if (DirectoryExists(text))
            request.start = text;
        else if (DirectoryExistsHere(editor, text))
            request.start = ResolveImagineDirectory(editor, text, false);
        else if (last)
            request.start = *last;
        const std::optional<std::string> chosen = dialogs.ChooseDirectory(request);
        if (!chosen) return std::nullopt;
        if (last) *last = *chosen;
        return Q(*chosen);
    };
    return services;
}

DefTextureFormServices MakeDefTextureFormServices(DialogService& dialogs) {
    DefTextureFormServices services;
    services.openTexture = [&dialogs](const QString& title, const QString& directory,
                                      const QString& file_name) -> std::optional<QString> {
        FileDialogRequest request;
        request.title = S(title);
        request.directory = S(directory);
        request.fileName = S(file_name);
        const std::optional<std::string> chosen = dialogs.OpenFile(request);
        if (!chosen) return std::nullopt;
        return Q(*chosen);
    };
    services.inquireDescription = [](const QString& path) {
        return Q(InquireTextureDescription(S(path)));
    };
    return services;
}

std::optional<DirectoryDefault> RunDirectoryPrompt(DialogService& dialogs,
                                                   const EditorContext& editor,
                                                   const DirectoryPrompt& prompt, QWidget* parent) {
    TDefDirSelect dialog(parent);
    dialog.SetServices(MakeDefDirSelectServices(dialogs, editor, nullptr));
    dialog.setWindowTitle(Q(prompt.caption));
    dialog.SetFields(Q(prompt.oldDirectory), Q(prompt.newDirectory));
    dialog.SetOldDirectoryLocked(true);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return DirectoryDefault{S(dialog.OldDirectory()), S(dialog.NewDirectory())};
}

std::optional<TextureDefault> RunTexturePrompt(DialogService& dialogs, const TexturePrompt& prompt,
                                               QWidget* parent) {
    TDefTextureForm dialog(parent);
    dialog.SetServices(MakeDefTextureFormServices(dialogs));
    dialog.setWindowTitle(Q(prompt.caption));
    dialog.SetTextureDirectory(Q(prompt.textureDirectory));
    dialog.SetFields(Q(prompt.oldTexture), Q(prompt.newTexture), Q(prompt.description));
    dialog.SetOldTextureLocked(true);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return TextureDefault{S(dialog.OldTexture()), S(dialog.NewTexture()), S(dialog.Description())};
}

}  // namespace tessvane
