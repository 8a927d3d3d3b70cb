#include <chrono>
#include <cstdlib>

#include "base/spawn_posix.h"
#include "base/textrules.h"
#include "output/mapimail.h"
#include "output/mapiparts.h"

namespace kivrel {

namespace {

// How long a hand-over may keep the program waiting for xdg-email.
constexpr auto kHandOverWait = std::chrono::seconds(3);

}  // namespace

tHandOver HandOverMail(const MailRequest& mail) {
    // xdg-email ends at once when a running mail client takes the mail, and with its own
    // errors; but a client it has to start first keeps it until the user quits the client.
    // After a while the mail is with the client, and the program must not hang until then.
    const std::optional<int> code = RunProgramForAWhile(XdgEmailArguments(mail), kHandOverWait);
    if (!code)
        return {};
    // Its codes are the client's side; -1: there is no xdg-email to start.
    return {*code, *code != -1, false};
}

bool MapiClientAvailable() {
    // xdg-email hands every mail to $MAILER when it is set, whatever else is registered.
    const char* mailer = std::getenv("MAILER");
    if (mailer && *mailer)
        return true;
    std::string handler;
    RunProgram({"xdg-mime", "query", "default", "x-scheme-handler/mailto"}, handler);
    return MailtoHandlerTakesAttachments(TrimSpacesAndControls(handler));
}

}  // namespace kivrel
