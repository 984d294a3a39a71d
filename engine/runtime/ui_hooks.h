// The engine's only way to the user. The program installs these at start-up;
// the engine never includes Qt. Every hook runs on the user-interface thread:
// a worker that needs one hands the call over with the queued-call hook.
#pragma once

#include <functional>
#include <string>
#include <thread>
#include <vector>

enum class MessageKind { Information, Warning, Error, Confirmation };

// A message kept to be shown later, when the moment has come to show it.
struct UserMessage {
    std::string text;
    std::string caption;
    MessageKind kind = MessageKind::Information;
};

struct UiHooks {
    // The user-interface thread, set by the program with the hooks. On it
    // ShowUserMessage shows its box at once, so a caller that goes on to end
    // the program has shown its message first.
    std::thread::id uiThread;
    // A modal message box with a fixed text and caption. Returns true for
    // OK/Yes, false for Cancel/No (information boxes always return true).
    std::function<bool(const std::string &text, const std::string &caption, MessageKind kind)> showMessage;
    // Runs a callable on the user-interface thread, after the current event.
    std::function<void(std::function<void()>)> runOnUiThread;
    // Redraws the main window after the engine changed what it shows (new
    // elements for the main set).
    std::function<void()> refreshDisplay;
    // The program's two file dialogs: kind 1 opens an element file, kind 2
    // saves a text file. An empty result means cancelled.
    std::function<std::string(int kind)> selectFile;
    // Prints report lines in a fixed-pitch font; the title names the job.
    std::function<void(const std::vector<std::string> &lines, const std::string &title)> printReport;
    // The modal sky-point picker, pre-filled with a right ascension as six
    // digits "hhmmss" and a declination as a sign and six digits "+ddmmss".
    // True with the chosen right ascension and declination (rad, J2000);
    // false, with both untouched, when the user left a field that does not
    // read (the picker has said so).
    std::function<bool(const std::string &raDigits, const std::string &decDigits, double &ra,
                       double &dec)> pickSkyPoint;
    // The modal star picker; first and second are handed to it unchanged.
    // True with the chosen star's right ascension and declination (rad,
    // J2000) and the common name it shows; false, all untouched, when there
    // is no star to pick (the picker has said why).
    std::function<bool(int first, int second, double &ra, double &dec, std::string &name)> pickStar;
    // The modal observer location window; true when it applied a new
    // observer (the main window has then been refreshed for it).
    std::function<bool()> showLocationSelector;
};

// The hooks in force. Unset hooks do nothing (tests run without a program).
UiHooks &Hooks();

// Shows a message through the installed hook from any thread: on the UI
// thread (or with no runOnUiThread hook) directly, from a worker through
// runOnUiThread without waiting.
void ShowUserMessage(const std::string &text, const std::string &caption,
                     MessageKind kind = MessageKind::Information);
void ShowUserMessage(const UserMessage &message);
