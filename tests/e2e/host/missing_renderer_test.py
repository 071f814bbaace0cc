"""Without Lullvane.dll beside it, Lullvane.scr /s and /c show the one message box, exactly that
text with an OK button and no icon, and end when it is closed."""

import sys

from harness import PRODUCT_TITLE, check, probe, scratch_dir, wine_session
from host_support import install, require_windows_build, start_host, wait_until_ended

MESSAGE = "Lullvane.dll が同じﾌｫﾙﾀﾞに見つかりません！"


def main():
    require_windows_build()
    with wine_session() as env, scratch_dir() as folder:
        host_path = install(folder, renderer=None)
        for switch in ("/s", "/c"):
            with start_host(host_path, switch, env=env) as host:
                code, values = probe(env, "message-box", PRODUCT_TITLE, 30000)
                check(code == 0 and values.get("found") == "1", f"{switch}: no message box captioned Lullvane")
                text = bytes.fromhex(values["text"]).decode("utf-8")
                check(text == MESSAGE, f"{switch}: message text {text!r}")
                check(values["buttons"] == "1" and values["ok"] == "1", f"{switch}: buttons {values}")
                check(values["icon"] == "0", f"{switch}: the message box shows an icon")
                exit_code = wait_until_ended(host, 10)
                check(exit_code == 0, f"{switch}: exit code {exit_code} after OK")
            print(f"{switch}: message box ok, ended after OK")
        check(not (folder / "Lullvane.ini").exists(), "reading the settings must not create the file")


if __name__ == "__main__":
    sys.exit(main())
