#pragma once
// The modal things a test cannot click through (message boxes, file dialogs, the browser) go
// through one function each, which a test can replace. Every test fixture calls ResetSeams.

#include <QString>
#include <functional>
#include <optional>

namespace platform::ui {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// Shows a modal message box with an OK button and waits until it is closed; returns kIdOk. Any
// thread: from a worker it is shown by the UI thread while the worker waits. The caption defaults
// to the application's title.
int MessageBox(const QString& text, const QString& caption = {});

// Hands the URL to the desktop's default browser; the answer is not looked at.
void OpenUrl(const QString& url);

enum class FileDialogKind { Save, Open };
// The path the user chose, or nothing when they cancelled.
std::optional<QString> AskForFile(FileDialogKind kind, const QString& defaultName, const QString& filter);

using MessageBoxHandler = std::function<int(const QString& text, const QString& caption)>;
using UrlHandler = std::function<void(const QString& url)>;
using FileDialogHandler =
    std::function<std::optional<QString>(FileDialogKind kind, const QString& defaultName, const QString& filter)>;

void SetMessageBoxHandler(MessageBoxHandler handler);
void SetUrlHandler(UrlHandler handler);
void SetFileDialogHandler(FileDialogHandler handler);
// Back to the real message box, browser and file dialogs.
void ResetSeams();

}  // namespace platform::ui
