#include "ui/PathShorteningUnit.h"

#include <QStringList>

QString ShortenPathWith(const QString& Path, int MaxWidth,
                        const std::function<int(const QString&)>& TextWidth, bool WindowsRules) {
    auto IsSeparator = [WindowsRules](QChar C) {
        return C == QLatin1Char('/') || (WindowsRules && C == QLatin1Char('\\'));
    };
    QString Drive;
    QString Rest = Path;
    if (WindowsRules && Rest.size() >= 2 && Rest.at(1) == QLatin1Char(':')) {
        Drive = Rest.left(2);
        Rest = Rest.mid(2);
    }
    int LastSeparator = -1;
    for (int I = 0; I < Rest.size(); ++I)
        if (IsSeparator(Rest.at(I)))
            LastSeparator = I;
    const QString FileName = Rest.mid(LastSeparator + 1);
    const QString Directory = Rest.left(LastSeparator + 1);

    // The directory part as its leading separator and its directories, each
    // kept with the separator that follows it.
    QString Lead;
    QStringList Directories;
    {
        int I = 0;
        if (!Directory.isEmpty() && IsSeparator(Directory.at(0))) {
            Lead = Directory.left(1);
            I = 1;
        }
        int Start = I;
        for (; I < Directory.size(); ++I)
            if (IsSeparator(Directory.at(I))) {
                Directories << Directory.mid(Start, I - Start + 1);
                Start = I + 1;
            }
    }
    const QChar Separator = Directory.isEmpty()
                                ? (WindowsRules ? QLatin1Char('\\') : QLatin1Char('/'))
                                : Directory.at(Directory.size() - 1);
    const QString Ellipsis = QStringLiteral("...") + Separator;

    bool Elided = false;
    bool DriveDropped = false;
    bool DirectoryDropped = false;
    auto Compose = [&] {
        if (DirectoryDropped)
            return FileName;
        if (DriveDropped)
            return Ellipsis + FileName;
        return Drive + Lead + (Elided ? Ellipsis : QString()) + Directories.join(QString()) +
               FileName;
    };
    if (Drive.isEmpty() && Lead.isEmpty() && Directories.isEmpty())
        DirectoryDropped = true;

    QString Candidate = Compose();
    while (TextWidth(Candidate) > MaxWidth && !DirectoryDropped) {
        if (!Directories.isEmpty()) {
            Directories.removeFirst();
            Elided = true;
        } else if (!DriveDropped && Elided) {
            DriveDropped = true;
        } else {
            DirectoryDropped = true;
        }
        Candidate = Compose();
    }
    return Candidate;
}

QString ShortenPath(const QString& Path, int MaxWidth,
                    const std::function<int(const QString&)>& TextWidth) {
#ifdef Q_OS_WIN
    return ShortenPathWith(Path, MaxWidth, TextWidth, true);
#else
    return ShortenPathWith(Path, MaxWidth, TextWidth, false);
#endif
}
