<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="hi_IN">
<context>
    <name>pelbrook::GatewayNotice</name>
    <message>
        <source>The payment page could not be reached. No payment was made.</source>
        <translation>भुगतान पेज तक पहुँचा नहीं जा सका। कोई भुगतान नहीं हुआ।</translation>
    </message>
    <message>
        <source>The connection to the payment page was lost. Your payment may still go through; the shop will confirm it.</source>
        <translation>भुगतान पेज से कनेक्शन टूट गया। आपका भुगतान फिर भी हो सकता है; दुकान इसकी पुष्टि करेगी।</translation>
    </message>
</context>
<context>
    <name>pelbrook::NavigationController</name>
    <message>
        <source>Close</source>
        <translation>बंद करें</translation>
    </message>
</context>
<context>
    <name>pelbrook::PGTabBarViewController</name>
    <message>
        <source>Checkout</source>
        <translation>भुगतान</translation>
    </message>
    <message>
        <source>Cards</source>
        <translation>कार्ड</translation>
    </message>
    <message>
        <source>Net Banking</source>
        <translation>नेट बैंकिंग</translation>
    </message>
    <message>
        <source>Wallets</source>
        <translation>वॉलेट</translation>
    </message>
    <message>
        <source>UPI</source>
        <translation>UPI</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>बंद करें</translation>
    </message>
</context>
<context>
    <name>pelbrook::PageDialog</name>
    <message>
        <source>Cancel</source>
        <translation>रद्द करें</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ठीक है</translation>
    </message>
</context>
<context>
    <name>pelbrook::PaymentScreen</name>
    <message>
        <source>Still waiting for the bank…</source>
        <translation>अब भी बैंक की प्रतीक्षा है…</translation>
    </message>
    <message>
        <source>Merchant Name</source>
        <translation>व्यापारी का नाम</translation>
    </message>
    <message>
        <source>Order Id</source>
        <translation>ऑर्डर नं.</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>राशि</translation>
    </message>
    <message>
        <source>Pay Securely</source>
        <translation>सुरक्षित भुगतान करें</translation>
    </message>
    <message>
        <source>This payment cannot start. Please try again later.</source>
        <translation>यह भुगतान शुरू नहीं हो सकता। कृपया बाद में फिर से कोशिश करें।</translation>
    </message>
</context>
<context>
    <name>pelbrook::cardViewController</name>
    <message>
        <source>Please enter card details to proceed</source>
        <translation>कृपया कार्ड का विवरण दर्ज करें</translation>
    </message>
    <message>
        <source>Expiry</source>
        <translation>समाप्ति तिथि</translation>
    </message>
    <message>
        <source>CVV</source>
        <translation>CVV</translation>
    </message>
    <message>
        <source>Enter Card Number</source>
        <translation>कार्ड नंबर दर्ज करें</translation>
    </message>
    <message>
        <source>Enter Card Holder Name</source>
        <translation>कार्डधारक का नाम दर्ज करें</translation>
    </message>
    <message>
        <source>MM</source>
        <extracomment>Two-digit expiry month, in a field two digits wide; cards print the expiry as MM/YY.</extracomment>
        <translation>MM</translation>
    </message>
    <message>
        <source>YY</source>
        <extracomment>Two-digit expiry year, in a field two digits wide; cards print the expiry as MM/YY.</extracomment>
        <translation>YY</translation>
    </message>
    <message>
        <source>Expiry month</source>
        <translation>समाप्ति का महीना</translation>
    </message>
    <message>
        <source>Expiry year</source>
        <translation>समाप्ति का वर्ष</translation>
    </message>
    <message>
        <source>Enter a 16 Digit Card Number</source>
        <translation>16 अंकों का कार्ड नंबर दर्ज करें</translation>
    </message>
    <message>
        <source>Check the card number</source>
        <translation>कार्ड नंबर जाँच लें</translation>
    </message>
    <message>
        <source>Enter a valid expiry month</source>
        <translation>समाप्ति का सही महीना दर्ज करें</translation>
    </message>
    <message>
        <source>Enter a valid expiry year</source>
        <translation>समाप्ति का सही वर्ष दर्ज करें</translation>
    </message>
    <message>
        <source>This card has expired</source>
        <translation>इस कार्ड की अवधि समाप्त हो चुकी है</translation>
    </message>
    <message>
        <source>Enter the 3 or 4 digit CVV</source>
        <translation>3 या 4 अंकों का CVV दर्ज करें</translation>
    </message>
</context>
<context>
    <name>pelbrook::netBankingViewController</name>
    <message>
        <source>Please select your Bank to proceed</source>
        <translation>कृपया अपना बैंक चुनें</translation>
    </message>
    <message>
        <source>Banks</source>
        <translation>बैंक</translation>
    </message>
    <message>
        <source>Select a Bank</source>
        <translation>कोई बैंक चुनें</translation>
    </message>
</context>
<context>
    <name>pelbrook::upiViewController</name>
    <message>
        <source>Tez</source>
        <translation>Tez</translation>
    </message>
    <message>
        <source>Other UPI apps</source>
        <translation>अन्य UPI ऐप</translation>
    </message>
    <message>
        <source>Please select a UPI App to proceed</source>
        <translation>कृपया कोई UPI ऐप चुनें</translation>
    </message>
    <message>
        <source>Enter your Virtual Payment Address</source>
        <translation>अपना UPI ID (VPA) दर्ज करें</translation>
    </message>
    <message>
        <source>Note: You will receive a payment request from Pelbrook in your UPI app. Do confirm the request to complete payment.</source>
        <translation>ध्यान दें: आपके UPI ऐप में Pelbrook से भुगतान का अनुरोध आएगा। भुगतान पूरा करने के लिए उस अनुरोध की पुष्टि ज़रूर करें।</translation>
    </message>
    <message>
        <source>UPI Id</source>
        <translation>UPI ID</translation>
    </message>
    <message>
        <source>@upi</source>
        <extracomment>The handle the buyer picks from a list, as it is written in a UPI ID.</extracomment>
        <translation>@upi</translation>
    </message>
    <message>
        <source>UPI handle</source>
        <translation>UPI हैंडल</translation>
    </message>
    <message>
        <source>UPI apps</source>
        <translation>UPI ऐप</translation>
    </message>
    <message>
        <source>UPI handles</source>
        <translation>UPI हैंडल की सूची</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>हो गया</translation>
    </message>
    <message>
        <source>UPI VPA is empty.</source>
        <translation>UPI VPA खाली है।</translation>
    </message>
</context>
<context>
    <name>pelbrook::walletViewController</name>
    <message>
        <source>Please select a Wallet to proceed</source>
        <translation>कृपया कोई वॉलेट चुनें</translation>
    </message>
    <message>
        <source>Wallets</source>
        <translation>वॉलेट</translation>
    </message>
    <message>
        <source>Select a Wallet</source>
        <translation>कोई वॉलेट चुनें</translation>
    </message>
</context>
</TS>
