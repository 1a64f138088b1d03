// SPDX-License-Identifier: GPL-3.0-or-later
// A saved loading file from anywhere: it is read, checked against its
// schema and made into a sheet, or refused with a reason. A file it reads
// writes back into one that reads the same, and the loading's fingerprint
// does not change on the way.

#include "FuzzSupport.h"
#include "core/NumConv.h"
#include "loading/AircraftData.h"
#include "loading/LoadingFile.h"
#include "sheet/ComputeLoadingSheet.h"
#include "sheet/JsonSheetWriter.h"
#include "sheet/SavedLoadingOptions.h"

#include <QJsonDocument>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);
    const LoadingRead read = ReadLoadingBytes(bytes);
    Fuzz::Check(read.Usable() == read.why.isEmpty(), "a fault without a reason, or the reverse",
                read.why);
    if (read.fault != LoadingFault::None && read.fault != LoadingFault::Fingerprint)
        return 0;
    const SavedLoading& saved = read.loading;

    const LoadingRead back = ReadLoadingBytes(LoadingFileBytes(saved));
    Fuzz::Check(back.fault == read.fault && back.loading == saved,
                "the loading does not read back as written", back.why);
    Fuzz::Check(LoadingFingerprint(back.loading) == LoadingFingerprint(saved),
                "the fingerprint changed on the way");
    if (!read.Usable())
        return 0;

    // Made again from the data it holds, as --use-saved does.
    SetDecimalSeparator(saved.decimalSeparator);
    const SheetOptions options = WithSavedLoading(saved, SheetOptions());
    LoadingSheet sheet;
    SheetFailure failure;
    QByteArray json;
    const auto into = [&json](const QByteArray& more) { json += more; };
    JsonSheetWriter writer(into, [](const QByteArray&) {});
    if (ComputeLoadingSheet(saved.aircraft, AircraftDataValue(saved.data), options, sheet, failure))
        writer.WriteSheet(sheet);
    else
        writer.WriteFailure(failure);
    QJsonParseError error;
    QJsonDocument::fromJson(json, &error);
    Fuzz::Check(error.error == QJsonParseError::NoError, "the JSON does not parse",
                QString::fromUtf8(json));
    return 0;
}
