// SPDX-License-Identifier: MIT
#pragma once

#include <QSettings>
#include <QString>

#include <tessaro/export.h>
#include <tessaro/property_bag.h>

namespace tessaro::qt {

// A control's persisted properties in a QSettings group of their own (one group per
// control on the window). Texts are stored as strings, numbers as numbers; a value equal
// to its default removes the key, so that only changed properties are saved.
class TESSARO_EXPORT QSettingsPropertyBag : public host::PropertyBag {
  public:
    QSettingsPropertyBag(QSettings& settings, QString group);

    Variant read(std::string_view key, const Variant& defaultValue) override;
    void write(std::string_view key, const Variant& value, const Variant& defaultValue) override;

  private:
    QString keyPath(std::string_view key) const;

    QSettings& settings_;
    QString group_;
};

}  // namespace tessaro::qt
