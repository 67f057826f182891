#include "ui/fonts.h"

#include <QFontDatabase>
#include <QHash>
#include <algorithm>

namespace tavola {

namespace {

// The face to ask for: the named one where it is installed, otherwise the
// first installed of its substitutes. Asking for an installed face directly
// spares the font matcher a search through every fallback of a missing one.
// The list of installed families is looked up as it is: hasFamily() would
// run fontconfig's whole substitution for every name asked (about 7 M
// instructions each, at start-up).
QString installedFamily(const QString& family)
{
    static QHash<QString, QString> resolved;
    if (const auto found = resolved.constFind(family); found != resolved.constEnd())
        return *found;
    const QStringList families = QFontDatabase::families();
    const auto installed = [&families](const QString& name) { return families.contains(name, Qt::CaseInsensitive); };
    QString face = family;
    if (!installed(family)) {
        const QStringList substitutes = QFont::substitutes(family);
        if (const auto first = std::find_if(substitutes.begin(), substitutes.end(), installed);
            first != substitutes.end())
            face = *first;
    }
    resolved.insert(family, face);
    return face;
}

}  // namespace

void substituteFreeFaces()
{
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arimo", "DejaVu Sans"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo"});
    QFont::insertSubstitutions("Times New Roman", {"Liberation Serif", "Tinos"});
}

QFont layoutFont(const LayoutFace& face)
{
    QFont font(installedFamily(QString::fromLatin1(face.family)));
    font.setPointSizeF(face.points);
    font.setBold(face.bold);
    font.setItalic(face.italic);
    return font;
}

}  // namespace tavola
