# The shipped prompts: file name and the Korean sentence spoken into it.
set(VANTELO_PROMPTS
  "m_ArsGreeting|지금은 전화를 받을 수 없습니다. 메시지를 남기시려면 1번, 안내를 들으시려면 2번, 다시 들으시려면 3번을 눌러 주십시오."
  "m_ArsRe1|삐 소리가 나면 메시지를 남겨 주십시오. 다 마치시면 전화를 끊어 주십시오."
  "m_ArsRe2|잠시 기다려 주십시오. 십오 초 후에 전화가 끊어집니다."
  "m_ArsRe8|잘못 누르셨습니다. 다시 선택해 주십시오."
  "m_ArsRe9|입력이 없어 전화를 끊겠습니다. 감사합니다."
  "m_ArsBlock|이 번호로는 전화를 받지 않습니다. 감사합니다.")
