@echo off
rem Runs every check of this folder, or the checks named (run-checks.cmd --list names
rem them): one line per check, a summary, results\junit.xml with the screenshots and
rem logs under results\. Exit code 0 only when every check passed.
setlocal DisableDelayedExpansion
"%~dp0tools\velkaris-checks.exe" %*
exit /b %ERRORLEVEL%
