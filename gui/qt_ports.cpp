#include "qt_ports.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStringList>
#include <QVBoxLayout>

#include "interactive/term_entry_dialog.h"
#include "position_map.h"
#include "text_convert.h"

namespace tavricat::gui {

namespace {

const QString kTitle = QStringLiteral("TavriCAT");

}  // namespace

QString qtFileFilter(const QString& coreFilter) {
    const QStringList parts = coreFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            patterns << pattern.trimmed();
            if (pattern.toUpper() != pattern) patterns << pattern.trimmed().toUpper();
        }
        filters << parts[i].trimmed() + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

void QtDialogs::message(const std::string& text) {
    QMessageBox::information(m_parent, kTitle, fromGbk(text));
}

bool QtDialogs::askYesNo(const std::string& text) {
    return QMessageBox::question(m_parent, kTitle, fromGbk(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void QtDialogs::beep() { QApplication::beep(); }

std::optional<std::string> QtDialogs::inputBox(const std::string& caption, const std::string& prompt,
                                               const std::string& initial) {
    for (;;) {
        bool ok = false;
        const QString answer = QInputDialog::getText(m_parent, fromGbk(caption), fromGbk(prompt), QLineEdit::Normal,
                                                     fromGbk(initial), &ok);
        if (!ok) return std::nullopt;
        TypedText typed = typedToGbk(answer);
        if (typed.ok) return typed.gbk;
        message(typed.error);  // asked again: the answer is not silently changed
    }
}

bool QtDialogs::editTermEntry(TermEntryForm& form) {
    TermEntryDialog dialog(m_parent);
    dialog.setWindowTitle(fromGbk(form.caption));
    const std::array<std::pair<QLineEdit*, std::string*>, 5> fields{{
        {dialog.keyField(), &form.key},
        {dialog.meaningsField(), &form.meanings},
        {dialog.associationField(), &form.association},
        {dialog.partOfSpeechField(), &form.partOfSpeech},
        {dialog.attributeField(), &form.attribute},
    }};
    for (const auto& [field, text] : fields) field->setText(fromGbk(*text));
    dialog.keyField()->setReadOnly(!form.keyEditable);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted) return false;
        std::array<std::string, 5> typed;
        bool all = true;
        for (std::size_t i = 0; i < fields.size() && all; ++i) {
            TypedText converted = typedToGbk(fields[i].first->text());
            if (!converted.ok) {
                message(converted.error);  // asked again: the answer is not silently changed
                all = false;
            }
            typed[i] = converted.gbk;
        }
        if (!all) continue;
        for (std::size_t i = 0; i < fields.size(); ++i) *fields[i].second = typed[i];
        return true;
    }
}

std::optional<std::string> QtDialogs::chooseOpenFile(const std::string& title, const std::string& filter) {
    const QString path = QFileDialog::getOpenFileName(m_parent, fromGbk(title), m_folder, qtFileFilter(fromGbk(filter)));
    if (path.isEmpty()) return std::nullopt;
    return toNativePath(path);
}

std::optional<std::string> QtDialogs::chooseSaveFile(const std::string& title, const std::string& filter,
                                                     const std::string& suggestedName) {
    // The core asks its own overwrite question where the program asks one.
    // A bare name is proposed in the document's folder.
    QString proposed = fromNativePath(suggestedName);
    if (!m_folder.isEmpty() && !proposed.contains(QLatin1Char('/'))) proposed = QDir(m_folder).filePath(proposed);
    QString selected;
    QString path = QFileDialog::getSaveFileName(m_parent, fromGbk(title), proposed, qtFileFilter(fromGbk(filter)),
                                                &selected, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return std::nullopt;
    // A name typed without an extension takes the one of the chosen filter ("(*.docx *.DOCX)"),
    // so that picking "Word文件" saves a .docx.
    if (QFileInfo(path).suffix().isEmpty()) {
        static const QRegularExpression firstPattern(QStringLiteral("\\(\\*(\\.[A-Za-z0-9]+)"));
        const QRegularExpressionMatch match = firstPattern.match(selected);
        if (match.hasMatch()) path += match.captured(1);
    }
    return toNativePath(path);
}

ProgressWindow::ProgressWindow(QWidget* parent) : QDialog(parent), m_label(new QLabel(this)), m_bar(new QProgressBar(this)) {
    // A notice, not a window of its own: a title and nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(kTitle);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    m_bar->setTextVisible(false);
    setMinimumWidth(360);
}

QtProgress::QtProgress(QWidget* parent) : m_window(new ProgressWindow(parent)) {}

QtProgress::~QtProgress() {
    if (m_window && !m_window->parent()) delete m_window;
}

void QtProgress::paintNow() {
    // Shown at once, as the operation that follows keeps the event loop busy.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtProgress::show(const std::string& text, int maximum, int position) {
    if (!m_window) return;
    m_window->label()->setText(fromGbk(text));
    m_window->bar()->setRange(0, maximum);
    m_window->bar()->setValue(position);
    m_window->show();
    m_window->raise();
    paintNow();
}

void QtProgress::setText(const std::string& text) {
    if (!m_window) return;
    m_window->label()->setText(fromGbk(text));
    paintNow();
}

void QtProgress::setPosition(int position) {
    if (!m_window) return;
    m_window->bar()->setValue(position);
    paintNow();
}

void QtProgress::setCaption(const std::string& caption) {
    if (m_window) m_window->setWindowTitle(fromGbk(caption));
}

void QtProgress::hide() {
    if (m_window) m_window->hide();
}

void QtProgress::pump() { QCoreApplication::processEvents(); }

std::string QtClipboard::text() {
    TypedText typed = typedToGbk(QGuiApplication::clipboard()->text());
    if (typed.ok) return typed.gbk;
    m_dialogs.message(typed.error);
    return {};
}

void QtClipboard::setText(const std::string& text) { QGuiApplication::clipboard()->setText(fromGbk(text)); }

std::string QtClipboard::richText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) return {};
    for (const char* type : {"text/rtf", "application/rtf", "text/richtext"})
        if (data->hasFormat(QString::fromLatin1(type))) return data->data(QString::fromLatin1(type)).toStdString();
    return {};
}

void QtClipboard::setRichText(const std::string& rtf) {
    auto* data = new QMimeData;
    const QByteArray bytes = QByteArray::fromStdString(rtf);
    data->setData(QStringLiteral("text/rtf"), bytes);
    data->setData(QStringLiteral("application/rtf"), bytes);
    QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace tavricat::gui
