// SPDX-License-Identifier: MIT
#pragma once

class QObject;
class QDesignerPropertySheetExtension;

namespace tessaro::designer {

// Marks each of the control's properties (Resourcedir, AsanaNaME, TotalRec) in the form's
// property sheet as changed exactly when its value differs from the control's default
// ("0", "0", 0), so that the .ui file keeps only the properties that differ.
void markPropertiesDifferingFromDefaults(const QObject& widget,
                                         QDesignerPropertySheetExtension& sheet);

}  // namespace tessaro::designer
