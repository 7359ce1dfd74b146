#pragma once
// The program's side of the converter's console over the open USB link: finding out whether a
// user is logged in, logging in and out, restarting the converter, and the "set" and "show"
// commands. Every exchange waits out the link's one-second read time-out for its reply, so each
// costs about a second; retries are silent and fixed in number. Outcomes are left in the link's
// errorState (0 none, 1 link or login failure, 2 a "set" command refused) and in the window.
//
// No exchange takes a lock: the caller makes sure that only one thread uses the link (a worker
// behind the modal progress panel, or the user-interface thread while no worker runs).

#include <cstdint>
#include <string_view>

enum class ConsoleStand { kLoggedIn, kAtLoginPrompt, kFailed };

enum class LogoutCaller {
    kConnect,     // the connect worker, which logs in again right after: the link stays open
    kDisconnect,  // the Disconnect button: the link is closed after a logout
};

enum class LogoutResult {
    kLoggedOut,
    kFailed,     // on a driver failure: the window is disconnected, the link closed, the error shown
    kUndecided,  // nothing changed: the link had already failed, or every reply was a login prompt
};

// The whole login, run by the connect worker once the link is open and purged: probe, log out
// whoever is logged in, log in with g_strLogin and g_strPassword as committed by Connect (sent
// as UTF-8). Leaves errorState 0 when logged in, 1 otherwise, puts
// the window into the matching state, shows the outcome, closes the link on failure, and ends
// g_dlgProgress on every way out. Worker thread; blocks up to about fifteen seconds.
void ConsoleConnect();

// Sets the link's time-outs and sends the empty login line up to six times until the reply
// says where the console stands. kFailed (errorState 1) on a driver failure or six replies that
// say nothing. Blocks about a second per try.
ConsoleStand ConsoleProbe();

// Up to six tries of user name and password. A try fails when the user name is answered with the
// prompt, or the password with fewer than five bytes or with "Login incorrect". On success the
// window shows "Connected" in its status and in a message box; after six failures the window is
// ready to connect again, the link is closed and "Wrong login or password" (or the connection error,
// when the last try ended on a driver failure) is shown. Either way g_dlgProgress is ended.
// Returns whether the login succeeded (errorState 0) or not (errorState 1).
bool ConsoleLogin(std::string_view login, std::string_view password);

// Sends "exit" up to six times, after emptying the exchange log; does nothing more when the last
// driver call had failed. A logout puts the window into its disconnected state and, for
// kDisconnect, closes the link. Six tries that end on a driver failure disconnect the window, close
// the link, show the connection error and, for kConnect, end g_dlgProgress. User-interface thread
// (kDisconnect) or the connect worker (kConnect); blocks about a second per try.
LogoutResult ConsoleLogout(LogoutCaller caller);

// Sends "boot action=r" without logging out; errorState becomes 1 on a driver failure or when the
// reply says "Error", 0 otherwise, and is returned. What the window does next is its own affair.
// Blocks about a second.
std::int32_t ConsoleRestart();

// Sends one complete "set" command line (ending in a line feed) and reads the converter's answer.
// errorState, also returned: 1 on a driver failure, 2 when the converter refused the command (its
// text is then shown in a message box), 0 otherwise. Worker thread; blocks about a second.
std::int32_t ConsoleSendSet(std::string_view command);

// Sends a "show" or "display" command (without its line feed, which is added) and reads the
// reply into the link's receive buffer (UsbReplyText). False, with errorState 1, on a driver
// failure. Blocks about a second.
bool ConsoleShow(std::string_view command);
