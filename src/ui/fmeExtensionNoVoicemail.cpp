#include "ui/fmeExtensionNoVoicemail.h"

#include <QVBoxLayout>

TframeExtensionNoVoicemail::TframeExtensionNoVoicemail(QWidget* parent) : TframeExtensionBase(parent)
{
    setObjectName(QStringLiteral("frameExtensionNoVoicemail"));
    m_layout->addStretch(1);
}
