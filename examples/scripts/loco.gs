// The demo locomotive: starts its engine from a thread once it is running.
include "engine.gs"

game class Loco isclass Engine
{
  thread void Run(void)
  {
    Start();
  }
};
