import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Pelbrook.Checkout

ApplicationWindow {
    id: window
    required property string token
    required property string orderId
    width: 420
    height: 320
    visible: true
    title: "Acme Books"

    Checkout {
        id: checkout
        env: "TEST"
        appId: "sandbox-app"
        merchantName: "Acme Books"
        walletArray: ["paytm"]
        tezOption: "YES"
        color1Hex: "2f6fde"
        color2Hex: "6a3fd0"
        orderId: window.orderId
        orderAmount: "499.00"
        customerEmail: "buyer@example.com"
        customerPhone: "9876543210"
        paymentReady: window.token
        customerName: "Asha Rao"
        orderCurrency: "INR"
        onPaymentResult: (result) => status.text = "Result: " + result
        onDismissed: if (result === "") status.text = "Closed without a result."
    }

    ColumnLayout {
        anchors.centerIn: parent
        width: parent.width - 40
        spacing: 16
        Label {
            text: "Two books, ₹499.00"
            font.pixelSize: 20
        }
        Button {
            text: "Pay"
            enabled: !checkout.presented && window.token !== ""
            onClicked: checkout.present()
        }
        Label {
            id: status
            Layout.fillWidth: true
            wrapMode: Text.Wrap
            text: window.token === "" ? "Start with --token: the payment token your server got for the order." : ""
        }
    }
}
