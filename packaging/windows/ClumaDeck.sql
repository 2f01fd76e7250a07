-- What the console's package needs beyond what wixl writes (see make_msi.py).
-- LOCALIP goes from the command line to the installing service even where a user without
-- administrator rights starts an elevated install.
UPDATE `Property` SET `Value` = 'LOCALIP;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED' WHERE `Property` = 'SecureCustomProperties'
