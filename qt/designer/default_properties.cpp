// SPDX-License-Identifier: MIT
#include "qt/designer/default_properties.h"

#include <QObject>
#include <QVariant>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <array>
#include <utility>

namespace tessaro::designer {

void markPropertiesDifferingFromDefaults(const QObject& widget,
                                         QDesignerPropertySheetExtension& sheet) {
    const std::array<std::pair<const char*, QVariant>, 3> defaults{{
        {"Resourcedir", QVariant(QStringLiteral("0"))},
        {"AsanaNaME", QVariant(QStringLiteral("0"))},
        {"TotalRec", QVariant(0)},
    }};
    for (const auto& [name, defaultValue] : defaults) {
        const int index = sheet.indexOf(QString::fromLatin1(name));
        if (index >= 0)
            sheet.setChanged(index, widget.property(name) != defaultValue);
    }
}

}  // namespace tessaro::designer
