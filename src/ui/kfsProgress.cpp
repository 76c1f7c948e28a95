#include "ui/kfsProgress.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

TfrmProgress::TfrmProgress(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(tr("Progress"));
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    resize(560, 360);

    memMain = new QPlainTextEdit(this);
    memMain->setObjectName(QStringLiteral("memMain"));
    memMain->setReadOnly(true);
    memMain->setLineWrapMode(QPlainTextEdit::NoWrap);
    memMain->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    memMain->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setWordWrap(true);

    lblLineCount = new QLabel(this);
    lblLineCount->setObjectName(QStringLiteral("lblLineCount"));
    lblLineCount->setVisible(false);

    pbMain = new QProgressBar(this);
    pbMain->setObjectName(QStringLiteral("pbMain"));
    pbMain->setRange(0, 490);
    pbMain->setValue(0);

    btnCancel = new QPushButton(tr("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setToolTip(tr("Stop the running transfer"));
    btnCancel->setEnabled(false);
    btnCancel->setAutoDefault(false);
    btnClose = new QPushButton(tr("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(pbMain, 1);
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memMain, 1);
    layout->addWidget(lblInfo);
    layout->addWidget(lblLineCount);
    layout->addLayout(buttons);

    connect(memMain, &QPlainTextEdit::textChanged, this, &TfrmProgress::memMainChange);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmProgress::btnCancelClick);
    connect(btnClose, &QPushButton::clicked, this, &TfrmProgress::hide);
    memMainChange();
}

void TfrmProgress::ShowStatus(const QString& text) { lblInfo->setText(text); }

void TfrmProgress::StepProgress()
{
    if (pbMain->value() < pbMain->maximum()) pbMain->setValue(pbMain->value() + 1);
}

void TfrmProgress::SetProgressMax(int max)
{
    // A maximum of 0 (nothing known yet) shows a busy bar.
    pbMain->setMaximum(qMax(0, max));
    memMainChange();
}

void TfrmProgress::AppendOutput(const QString& chunk)
{
    if (chunk.isEmpty()) return;
    QString text = chunk;
    text.remove(u'\r');
    memMain->moveCursor(QTextCursor::End);
    memMain->insertPlainText(text);
}

void TfrmProgress::ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents, 50); }

void TfrmProgress::ClearLog() { memMain->clear(); }

int TfrmProgress::LineCount() const
{
    const QString text = memMain->toPlainText();
    if (text.isEmpty()) return 0;
    const int blocks = memMain->document()->blockCount();
    return text.endsWith(u'\n') ? blocks - 1 : blocks;
}

void TfrmProgress::memMainChange()
{
    memMain->moveCursor(QTextCursor::End);
    memMain->verticalScrollBar()->setValue(memMain->verticalScrollBar()->maximum());
    const int lines = LineCount();
    lblLineCount->setText(QStringLiteral("Lines = ") + QString::number(lines));
    if (pbMain->maximum() > 0) pbMain->setValue(qMin(lines, pbMain->maximum()));
}

void TfrmProgress::BeginRun()
{
    m_running = true;
    m_cancelRequested = false;
    btnCancel->setEnabled(true);
    btnClose->setEnabled(false);
}

void TfrmProgress::EndRun()
{
    m_running = false;
    btnCancel->setEnabled(false);
    btnClose->setEnabled(true);
}

void TfrmProgress::btnCancelClick()
{
    if (!m_running) return;
    m_cancelRequested = true;
    btnCancel->setEnabled(false);
    ShowStatus(tr("Cancelling..."));
    emit CancelClicked();
}

void TfrmProgress::reject()
{
    if (!m_running) hide();
}

void TfrmProgress::closeEvent(QCloseEvent* event)
{
    // Closing while a tool runs would hide its output; the run ends first.
    if (m_running) event->ignore();
    else QDialog::closeEvent(event);
}
