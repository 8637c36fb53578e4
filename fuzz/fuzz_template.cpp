// clsTemplateIO.OpenFile on any bytes; a template that opens saves back onto its own file and
// opens again with the same values.
#include "FuzzSupport.h"
#include "store/clsTemplateIO.h"
#include "support/TestFiles.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::application();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = FuzzSupport::writeInput(QStringLiteral("t.kvl"), data, size);
    clsTemplateIO tpl;
    if (!tpl.OpenFile(path)) {
        if (tpl.errorString().isEmpty())
            FuzzSupport::fail("OpenFile failed without a reason");
        return 0;
    }
    const QStringList read = TestFiles::templateValues(tpl);
    if (!tpl.SaveFile(path, true))
        FuzzSupport::fail("SaveFile failed", tpl.errorString());
    clsTemplateIO again;
    if (!again.OpenFile(path))
        FuzzSupport::fail("a saved template does not open", again.errorString());
    const QStringList reread = TestFiles::templateValues(again);
    for (qsizetype i = 0; i < read.size(); ++i) {
        if (read[i] != reread[i])
            FuzzSupport::fail("a saved template reads otherwise",
                              QStringLiteral("%1: %2 / %3").arg(i).arg(read[i], reread[i]));
    }
    return 0;
}
