#include "start_request.h"

namespace tarn {

StartupRequest startRequestFrom(const QStringList& arguments) {
    StartupRequest request;
    QStringList rest;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--base") && i + 1 < arguments.size()) {
            request.baseFolder = arguments[++i].toStdString();
            continue;
        }
        rest << (arguments[i].contains(' ') ? '"' + arguments[i] + '"' : arguments[i]);
    }
    if (!rest.isEmpty() && !rest.contains(QStringLiteral("-md2"))) rest.prepend(QStringLiteral("-md2"));
    // The program's own path stands as a plain name: a folder called
    // "x-md2" must not be mistaken for the switch.
    request.commandLine = (QStringList{QStringLiteral("tarn")} + rest).join(' ').toStdString();
    return request;
}

}  // namespace tarn
