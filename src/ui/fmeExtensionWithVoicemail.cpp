#include "ui/fmeExtensionWithVoicemail.h"
#include "ui/kxFrame.h"

#include <QLabel>
#include <QVBoxLayout>

TframeExtensionWithVoicemail::TframeExtensionWithVoicemail(QWidget* parent) : TframeExtensionBase(parent)
{
    setObjectName(QStringLiteral("frameExtensionWithVoicemail"));
    m_layout->addWidget(KxFrame::Caption(tr("Then, divert to users voicemail."), this));
    m_layout->addStretch(1);
}
