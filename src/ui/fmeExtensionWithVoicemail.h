#pragma once
// The dialplan entry frame of the kind "ring an extension, then divert to its voicemail".
#include "ui/fmeExtensionBase.h"

class TframeExtensionWithVoicemail : public TframeExtensionBase {
    Q_OBJECT
public:
    explicit TframeExtensionWithVoicemail(QWidget* parent = nullptr);
};
