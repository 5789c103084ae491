// The help browser: the help topics on the left, the chosen topic's title and text beside.
#pragma once

#include "app/MdiChild.h"

class QLabel;
namespace platform {
class ListView;
}

class frmHelp : public MdiChild {
public:
    frmHelp();
    void Form_Load() override;

    platform::ListView* lvHelpTopics;
    QLabel* lblName;
    QLabel* lblInst;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowTopic();
    void Form_Resize();
};
