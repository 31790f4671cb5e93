// SPDX-License-Identifier: MIT
#pragma once

#include "link/link_view.h"
#include "link/logger_transfer.h"

namespace kr820::bench {

// Views that show nothing, for figures that drive the link without windows.
class QuietLinkView : public link::LinkView {
public:
    explicit QuietLinkView(QString device = {}) : m_device(std::move(device)) {}
    int DeviceCount() const override { return m_device.isEmpty() ? 0 : 1; }
    void SelectDevice(int) override {}
    int SelectedDeviceIndex() const override { return m_device.isEmpty() ? -1 : 0; }
    QString SelectedDeviceText() const override { return m_device; }
    void RemoveDevice(int) override {}
    void SetSplashStatus(const QString&) override {}
    void SetStatusPanels(const QString&, const QString&) override {}
    void EnableRun(bool) override {}
    void EnableStop(bool) override {}
    void EnableDataLogger(bool) override {}
    void ShowNoConnection(bool) override {}

private:
    QString m_device;
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
