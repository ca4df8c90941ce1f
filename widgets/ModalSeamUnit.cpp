#include "widgets/ModalSeamUnit.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMainWindow>
#include <QMessageBox>

QStringList FilterToNameFilters(const QString& Filter) {
    const QStringList Parts = Filter.split(QLatin1Char('|'));
    QStringList Result;
    for (int I = 0; I + 1 < Parts.size(); I += 2) {
        QString Pattern = Parts.at(I + 1);
        // "*.*" would demand a dot in the name; everywhere but Windows it means
        // every file.
#ifndef Q_OS_WIN
        Pattern.replace(QLatin1String("*.*"), QLatin1String("*"));
#endif
        Pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The description names its pattern in brackets already; the dialog
        // adds it in parentheses, and once is enough.
        QString Description = Parts.at(I).trimmed();
        if (Description.endsWith(QLatin1Char(']'))) {
            const qsizetype Open = Description.lastIndexOf(QLatin1Char('['));
            if (Open > 0)
                Description = Description.left(Open).trimmed();
        }
        Result << QStringLiteral("%1 (%2)").arg(Description, Pattern);
    }
    return Result;
}

namespace {

QString ApplicationTitle() {
    return QStringLiteral("Corvinal");
}

// Message, error, question and input boxes stand in the middle of the main
// window, also when a dialog asks them (the dialog stays their parent, so
// that they stay above it).
void CentreOnMainWindow(QDialog& Box) {
    const QWidget* Main = nullptr;
    for (const QWidget* Window : QApplication::topLevelWidgets())
        if (qobject_cast<const QMainWindow*>(Window) && Window->isVisible())
            Main = Window;
    if (!Main)
        return;
    Box.adjustSize();
    QRect Frame = Box.frameGeometry();
    Frame.moveCenter(Main->frameGeometry().center());
    Box.move(Frame.topLeft());
}

int ShowBox(QWidget* Parent, QMessageBox::Icon Icon, const QString& Text,
            QMessageBox::StandardButtons Buttons, QMessageBox::StandardButton Default) {
    QMessageBox Box(Icon, ApplicationTitle(), Text, Buttons, Parent);
    Box.setDefaultButton(Default);
    CentreOnMainWindow(Box);
    return Box.exec();
}

class TWidgetModalSeam : public TModalSeam {
public:
    QString OpenFileName(QWidget* Parent, const QString& Filter,
                         const QString& DefaultExtension) override {
        QFileDialog Dialog(Parent);
        Dialog.setAcceptMode(QFileDialog::AcceptOpen);
        Dialog.setFileMode(QFileDialog::ExistingFile);
        Dialog.setNameFilters(FilterToNameFilters(Filter));
        Dialog.setDefaultSuffix(
            QString(DefaultExtension)
                .remove(0, DefaultExtension.startsWith(QLatin1Char('.')) ? 1 : 0));
        if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty())
            return QString();
        return Dialog.selectedFiles().first();
    }

    QString SaveFileName(QWidget* Parent, const QString& Filter, const QString& DefaultExtension,
                         bool AskOverwrite, int* SelectedFilter) override {
        QFileDialog Dialog(Parent);
        Dialog.setAcceptMode(QFileDialog::AcceptSave);
        Dialog.setFileMode(QFileDialog::AnyFile);
        const QStringList NameFilters = FilterToNameFilters(Filter);
        Dialog.setNameFilters(NameFilters);
        Dialog.setDefaultSuffix(
            QString(DefaultExtension)
                .remove(0, DefaultExtension.startsWith(QLatin1Char('.')) ? 1 : 0));
        Dialog.setOption(QFileDialog::DontConfirmOverwrite, !AskOverwrite);
        // A bare name takes the extension of the filter the user picked.
        QObject::connect(&Dialog, &QFileDialog::filterSelected, &Dialog,
                         [&Dialog, DefaultExtension](const QString& NameFilter) {
                             const int Star = int(NameFilter.lastIndexOf(QLatin1String("(*.")));
                             QString Suffix = Star >= 0 ? NameFilter.mid(Star + 3) : QString();
                             Suffix.chop(1);
                             if (Suffix.isEmpty() || Suffix.contains(QLatin1Char('*')) ||
                                 Suffix.contains(QLatin1Char(' ')))
                                 Suffix = QString(DefaultExtension).remove(QLatin1Char('.'));
                             Dialog.setDefaultSuffix(Suffix);
                         });
        if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty())
            return QString();
        if (SelectedFilter)
            *SelectedFilter = int(NameFilters.indexOf(Dialog.selectedNameFilter()));
        return Dialog.selectedFiles().first();
    }

    void ShowMessage(QWidget* Parent, const QString& Text) override {
        ShowBox(Parent, QMessageBox::Information, Text, QMessageBox::Ok, QMessageBox::Ok);
    }

    void ShowError(QWidget* Parent, const QString& Text) override {
        ShowBox(Parent, QMessageBox::Critical, Text, QMessageBox::Ok, QMessageBox::Ok);
    }

    bool Confirm(QWidget* Parent, const QString& Text) override {
        return ShowBox(Parent, QMessageBox::Question, Text, QMessageBox::Ok | QMessageBox::Cancel,
                       QMessageBox::Cancel) == QMessageBox::Ok;
    }

    bool InputQuery(QWidget* Parent, const QString& Title, const QString& Prompt,
                    QString& Value) override {
        QInputDialog Box(Parent);
        Box.setWindowTitle(Title);
        Box.setLabelText(Prompt);
        Box.setTextValue(Value);
        CentreOnMainWindow(Box);
        if (Box.exec() != QDialog::Accepted)
            return false;
        Value = Box.textValue();
        return true;
    }

    bool ChooseColor(QWidget* Parent, TColor& Color) override {
        // The dialog knows plain colours only: a system colour is offered
        // as it is drawn.
        const TColor Plain = PlainColor(Color);
        const QColor Initial(Plain & 0xFF, (Plain >> 8) & 0xFF, (Plain >> 16) & 0xFF);
        const QColor Chosen = QColorDialog::getColor(Initial, Parent);
        if (!Chosen.isValid())
            return false;
        Color = RGBToColor(Chosen.red(), Chosen.green(), Chosen.blue());
        return true;
    }

    int Exec(QDialog* Dialog) override { return Dialog->exec(); }
};

TWidgetModalSeam GWidgetSeam;
TModalSeam* GSeam = nullptr;

} // namespace

TModalSeam& Modal() {
    return GSeam ? *GSeam : GWidgetSeam;
}

void SetModal(TModalSeam* Seam) {
    GSeam = Seam;
}
