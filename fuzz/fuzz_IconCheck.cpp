// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the window icon: the quick check must match the directory
// rule, and loading must give an icon or the "not valid" error, nothing else.

#include "FuzzSupport.h"
#include "core/Exceptions.h"
#include "platform/IconFile.h"

#include <QGuiApplication>

namespace {

bool ReferenceIsIcon(const QByteArray& d)
{
    auto word = [&](int at) { return int(quint8(d[at])) | int(quint8(d[at + 1])) << 8; };
    if (d.size() < 6 || word(0) != 0 || word(2) != 1)
        return false;
    const int count = word(4);
    return count >= 1 && d.size() >= 6 + 16 * qsizetype(count);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char*** argv)
{
    // Pixmaps need a GUI application; no display is wanted. Qt gets an
    // argument list of its own: it would take options out of libFuzzer's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char* qtArgv[] = {(*argv)[0], nullptr};
    new QGuiApplication(qtArgc, qtArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);
    const bool isIcon = IsIconData(bytes);
    Fuzz::Check(isIcon == ReferenceIsIcon(bytes), "IsIconData disagrees with the directory rule");

    const QString path = Fuzz::WriteScratch(bytes, ".ico");
    try {
        const QIcon icon = LoadIconFile(path);
        Fuzz::Check(isIcon, "loaded an icon from bytes that are not one");
        Fuzz::Check(!icon.isNull(), "LoadIconFile returned an empty icon");
    } catch (const EInvalidGraphic& e) {
        Fuzz::Check(e.Message() == QLatin1String("Icon image is not valid"), "wrong icon message",
                    e.Message());
    } catch (const Exception& e) {
        Fuzz::Fail("LoadIconFile failed on a readable file", e.Message());
    }
    return 0;
}
