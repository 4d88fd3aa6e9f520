// A base class the demo locomotive script includes.
class Engine
{
  int starts = 0;

  public void Start(void)
  {
    starts = starts + 1;
  }
};
