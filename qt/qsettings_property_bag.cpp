// SPDX-License-Identifier: MIT
#include <tessaro/qsettings_property_bag.h>

#include <string>

namespace tessaro::qt {
namespace {

bool isNumber(const Variant& value) {
    return value.kind() == Variant::Kind::Integer || value.kind() == Variant::Kind::Double;
}

// INI files give every value back as text: a number stored for a numeric property is
// read back as a number; anything else stays text, for the control's own conversion to
// judge.
Variant fromStored(const QVariant& stored, const Variant& defaultValue) {
    const QString text = stored.toString();
    if (isNumber(defaultValue)) {
        bool ok = false;
        if (const qlonglong whole = text.toLongLong(&ok); ok)
            return Variant(std::int64_t{whole});
        if (const double real = text.toDouble(&ok); ok)
            return Variant(real);
    }
    return Variant(text.toStdString());
}

// Numbers count as equal by value whatever their width, as the classic comparison does.
bool equalValues(const Variant& a, const Variant& b) {
    if (isNumber(a) && isNumber(b))
        return a.toDouble() == b.toDouble();
    return a == b;
}

QVariant toStored(const Variant& value) {
    switch (value.kind()) {
        case Variant::Kind::Integer:
            return QVariant(qlonglong(value.toDouble()));
        case Variant::Kind::Double:
            return QVariant(value.toDouble());
        case Variant::Kind::Text:
            return QVariant(QString::fromStdString(value.toText()));
        case Variant::Kind::Empty:
        case Variant::Kind::Null:
            break;
    }
    return {};
}

}  // namespace

QSettingsPropertyBag::QSettingsPropertyBag(QSettings& settings, QString group)
    : settings_(settings), group_(std::move(group)) {}

QString QSettingsPropertyBag::keyPath(std::string_view key) const {
    return group_ + '/' + QString::fromUtf8(key.data(), qsizetype(key.size()));
}

Variant QSettingsPropertyBag::read(std::string_view key, const Variant& defaultValue) {
    const QVariant stored = settings_.value(keyPath(key));
    if (!stored.isValid())
        return defaultValue;
    return fromStored(stored, defaultValue);
}

void QSettingsPropertyBag::write(std::string_view key, const Variant& value,
                                 const Variant& defaultValue) {
    const QVariant stored = toStored(value);
    if (equalValues(value, defaultValue) || !stored.isValid())
        settings_.remove(keyPath(key));
    else
        settings_.setValue(keyPath(key), stored);
}

}  // namespace tessaro::qt
