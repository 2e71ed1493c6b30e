#include "resources/help_texts.h"

#include "resources/string_table.h"

namespace tessaly {

QString ManualFileName() {
    return LoadString(kStrManualBaseName) + QStringLiteral(".pdf");
}

QString VersionHistoryText() {
    QString text;
    for (int id : {kStrVersion103, kStrVersion102, kStrVersion101, kStrVersion100}) {
        text += LoadString(id) + QStringLiteral("\r\n");
    }
    return text;
}

}  // namespace tessaly
