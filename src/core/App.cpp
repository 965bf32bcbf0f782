#include "core/App.h"

#include "core/Names.h"

#include <QDir>

#include <new>

namespace vendalise {

App::App(Services& services) : sys(services) {
    // Until start-up settles the data directory, the program works where it
    // was started.
    files.setCurrent(QDir::currentPath());
    files.setTableFiles(kTableFiles);
}

App::~App() = default;

void App::tell(const QString& text, const QString& title, Messages::Icon icon) {
    sys.messages.message(text, title, icon, Messages::Buttons::Ok);
}

bool App::ask(const QString& text, const QString& title, Messages::Icon icon) {
    const Answer answer = sys.messages.message(text, title, icon, Messages::Buttons::YesNo);
    lastAnswer = static_cast<int>(answer);
    return answer == Answer::Yes;
}

bool App::run(const std::function<void()>& operation, const FileErrorHandler& onFileError) {
    try {
        operation();
        return true;
    } catch (const FileError& error) {
        if (error.kind() == FileError::Kind::Elsewhere || !onFileError)
            tellFileError(error);
        else
            onFileError(error);
    } catch (const std::bad_alloc&) {
        tell(QStringLiteral("La mémoire manque pour terminer cette opération."),
             QStringLiteral("Erreur programme"), Messages::Icon::Critical);
    } catch (const std::exception& error) {
        tellFailure(error);
    }
    return false;
}

void App::tellFileError(const FileError& error) {
    if (error.kind() == FileError::Kind::Elsewhere) {
        tell(error.description(), QStringLiteral("Emplacement des fichiers"),
             Messages::Icon::Exclamation);
        return;
    }
    tell(QStringLiteral("Le fichier ") + QDir::toNativeSeparators(error.file()) +
             QStringLiteral(" n'a pas pu être utilisé :\r\n") + error.description(),
         QStringLiteral("Erreur programme"), Messages::Icon::Critical);
}

void App::tellNotWritten(const QString& what, const FileError& error) {
    if (error.kind() == FileError::Kind::Elsewhere)
        tellFileError(error);
    else
        tell(what + error.description(), QStringLiteral("Erreur programme"),
             Messages::Icon::Critical);
}

void App::tellFailure(const std::exception& error) {
    tell(QStringLiteral("L'opération n'a pas pu se terminer :\r\n") +
             QString::fromLocal8Bit(error.what()),
         QStringLiteral("Erreur programme"), Messages::Icon::Critical);
}

} // namespace vendalise
