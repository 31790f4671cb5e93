// SPDX-License-Identifier: MIT
#pragma once

#include "link/link_view.h"
#include "link/logger_transfer.h"

namespace kr820::bench {

// Views that show nothing, for figures that drive the link without windows.
class QuietLinkView : public link::LinkView {
public:
    void ShowDevices(const link::DeviceList&) override {}
    void SetSplashStatus(const QString&) override {}
    void SetStatusPanels(const QString&, const QString&) override {}
    void StateChanged() override {}
    void ShowNoConnection(bool) override {}
    void ShowAccessRefusals(const QString&) override {}
    void TellAccessRefusal(const QString&) override {}
};

class QuietTransferView : public link::TransferView {
public:
    void ShowBusyCursor(bool) override {}
    void ShowTransferProgress(int) override {}
    void SetBytesReceived(int) override {}
    void RepaintProgress() override {}
    void CloseTransferProgress() override {}
};

}  // namespace kr820::bench
