#include "shell/App.h"

namespace vendalise {

void App::tell(const QString& text, const QString& title, Messages::Icon icon) {
    sys.messages.message(text, title, icon, Messages::Buttons::Ok);
}

bool App::ask(const QString& text, const QString& title, Messages::Icon icon) {
    const int answer = sys.messages.message(text, title, icon, Messages::Buttons::YesNo);
    state.lastAnswer = static_cast<quint8>(answer);
    return answer == Messages::kYes;
}

} // namespace vendalise
